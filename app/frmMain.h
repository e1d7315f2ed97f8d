#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/ExportRun.h"
#include "app/FanDownload.h"
#include "app/OutputPlace.h"
#include "app/SiteStaging.h"
#include "app/mGlobal.h"
#include "platform/FileSystem.h"
#include "platform/SiteFolder.h"
#include "report/NameList.h"
#include "report/PeriodHistory.h"
#include "sensyu/WindowServices.h"
#include "sensyu/cSensyuFile.h"

// How a start ended; it decides the exit status.
enum class eStartOutcome {
  Reopened, ShowedUsage, NotFound, NotAFanFile, DownloadFailed, Declined, Refused, Unplaceable, Converted,
  ConversionFailed, Closed,  // the window was closed during a download
  Exported                   // --export wrote the table file
};

/// 0 when the program did what was asked (or was told to stop by closing its
/// window), 1 for a missing file, an input it refused, an output folder it
/// cannot swap a site into or a failed download or conversion, 2 for an output
/// folder it refused to clear.
int ExitStatus(eStartOutcome outcome);

// The part of the main window that startup moves and shows.
class cFormWindow {
 public:
  virtual ~cFormWindow() = default;
  /// Moves the window to the screen's top-left corner (size unchanged) and shows it without blocking.
  virtual void ShowAtTopLeft() = 0;
};

// The main window's logic: startup and dispatch, the output folder, the
// run's racer data and name list.
class frmMain {
 public:
  /// `sites` makes the folder the new site is written into (on disk, or one a test fails at will).
  /// `downloader` fetches the official archive for --download (none: it fails).
  /// `files` takes every step of putting the new site in place of the old one.
  frmMain(cWindowServices& window, cFormWindow& form, cShellServices& shell, cSiteFactory sites = DiskSites(),
          cFanDownloader* downloader = nullptr, cFileSystem& files = SystemFileSystem());
  frmMain(const frmMain&) = delete;
  frmMain& operator=(const frmMain&) = delete;

  /// The load handler: runs the whole program for the command line. Any
  /// failure is told in a box; only a stop asked by a signal (cInterrupted) leaves it.
  eStartOutcome Form_Load(const cCommandLine& cmd);
  /// The unload query: false while a conversion runs (the close is refused),
  /// otherwise releases the racer data and returns true; during a download it
  /// also asks the download to stop, and the program then ends.
  bool Form_QueryUnload();

  bool Converting() const { return m_Converting; }
  const std::filesystem::path& OutputFolder() const { return m_OutputFolder; }
  /// The output folder's roster page "ファン手帳.html".
  std::filesystem::path RosterPage() const;
  const std::shared_ptr<cSensyuFile>& SensyuFile() const { return m_SensyuFile; }
  const cNameList& NameList() const { return lstName; }
  const cExportRun& ExportRun() const { return m_Export; }

 private:
  eStartOutcome Start(const cCommandLine& cmd);
  void SetOutputFolder(const cCommandLine& cmd);
  eStartOutcome StartWithoutFile(const cCommandLine& cmd);
  /// `downloaded`: a download's older archives, read as the history instead of a folder's files.
  eStartOutcome StartWithFile(const cCommandLine& cmd, const std::vector<std::filesystem::path>* downloaded = nullptr);
  eStartOutcome StartWithDownload(const cCommandLine& cmd);
  /// The saved archive, or nothing after a failure the downloader told.
  std::optional<std::filesystem::path> Download(const std::string& period);
  /// The archives of the `count` - 1 periods before the newest: beside it already, or downloaded.
  std::vector<std::filesystem::path> DownloadOlderPeriods(const std::filesystem::path& newest, int count);
  /// The files of the history folder, or nothing after telling the user it cannot be listed.
  std::optional<std::vector<std::filesystem::path>> HistoryCandidates(const cCommandLine& cmd);
  /// `older`: the candidates for the racers' older periods; none for pages without them.
  eStartOutcome Convert(const std::string& strFileName, const std::string& bytes, bool noOpen,
                        const std::vector<std::filesystem::path>* older);
  bool ConvertIntoStaging(const std::string& strFileName, const std::string& bytes, cSiteStaging& staging,
                          const cPeriodHistory* history);
  void TellSkipped(const std::vector<cSkippedFile>& skipped);
  bool SwapIn(cSiteFolder& site, cSiteStaging& staging);
  bool InitOutputFolder(cSiteStaging& staging);
  void TellLeftovers(const cSiteStaging& staging);
  /// The fan file's bytes, or nothing after telling the user why it cannot be converted.
  std::optional<std::string> ReadInput(const std::string& strFileName);
  /// False after telling the user what in the output folder is not ours.
  bool OutputFolderIsOurs();
  /// False after telling the user why no site can be swapped in at the output folder.
  bool OutputPlaceIsUsable();
  int32_t ShellOpen(const std::string& file, const std::string& params, const std::string& dir);
  void OpenRosterPage();

  cWindowServices& m_Window;
  cFormWindow& m_Form;
  cShellServices& m_Shell;
  cSiteFactory m_Sites;
  cFanDownloader* m_Downloader;
  cFileSystem& m_Files;
  std::filesystem::path m_OutputFolder;  // as the user named it
  cOutputPlace m_Place;                  // where the site really goes
  bool m_Converting = false;
  bool m_Downloading = false;
  bool m_Swapped = false;  // the new site has taken the old one's place
  bool m_Extras = false;   // the pages of --extras too
  std::shared_ptr<cSensyuFile> m_SensyuFile;
  cNameList lstName;
  cExportRun m_Export;
};
