#pragma once
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/mGlobal.h"
#include "platform/FileSystem.h"
#include "report/PeriodHistory.h"
#include "sensyu/WindowServices.h"

enum class eStartOutcome;
class cFormWindow;

// --export: the fan file's racers (and with --history every older period's)
// as one table file, CSV or SQLite, instead of the site; no site is written or
// touched. The file is written whole beside its place under a hidden name and
// takes its name only then; a file of that name is replaced only after --yes
// or a Yes to the question.
class cExportRun {
 public:
  using cTellSkipped = std::function<void(const std::vector<cSkippedFile>&)>;
  cExportRun(cWindowServices& window, cFormWindow& form, cShellServices& shell, cFileSystem& files,
             cTellSkipped tellSkipped);

  /// False after telling the user why --export=TABLE cannot be written (an
  /// extension that names no table, a folder that does not exist); nothing has been read then.
  bool TargetIsUsable(const cCommandLine& cmd);
  /// Writes the table of the fan file cmd.argText, whose bytes are read, and
  /// of the older periods among `older` (none: the file alone); opens it when
  /// it was named after the fan file, unless cmd.noOpen.
  eStartOutcome Run(const cCommandLine& cmd, const std::string& bytes, const std::vector<std::filesystem::path>* older);
  /// The table file the last run wrote.
  const std::filesystem::path& Written() const { return m_Written; }

 private:
  /// The table file, or nothing after telling the user why it cannot be written there.
  std::optional<std::filesystem::path> Target(const cCommandLine& cmd);
  void Refuse(const std::string& why, const std::filesystem::path& path);
  bool Place(const std::filesystem::path& target, const std::string& table, bool replace);
  std::vector<std::filesystem::path> Without(std::vector<std::filesystem::path> older,
                                             const std::filesystem::path& table);

  cWindowServices& m_Window;
  cFormWindow& m_Form;
  cShellServices& m_Shell;
  cFileSystem& m_Files;
  cTellSkipped m_TellSkipped;
  std::filesystem::path m_Written;
};
