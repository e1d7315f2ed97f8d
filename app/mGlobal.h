#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/SiteFolder.h"

// What startup asks of the desktop shell and the file system. The Qt window,
// the terminal front end and the tests each supply their own.
class cShellServices {
 public:
  virtual ~cShellServices() = default;

  /// Path of the user's desktop folder (UTF-8), or empty text when there is none.
  virtual std::string GetDesktopPath() = 0;
  /// Opens the file in the user's default application; non-zero when the shell took it.
  virtual int32_t ShellOpen(const std::string& file, const std::string& params, const std::string& dir) = 0;
  /// True for a directory, or a link to one.
  virtual bool FolderExists(const std::filesystem::path& path) = 0;
  /// True for a plain file (or a link to one); a directory or special file counts as not found.
  virtual bool PlainFileExists(const std::filesystem::path& path) = 0;
  /// Creates the folder and its missing parents; failures are left to the run that writes there.
  virtual void CreateFolders(const std::filesystem::path& folder) = 0;
};

// The desktop folder and the file-system half of the shell services, the same for every front end.
class cLocalShellServices : public cShellServices {
 public:
  std::string GetDesktopPath() override;
  bool FolderExists(const std::filesystem::path& path) override;
  bool PlainFileExists(const std::filesystem::path& path) override;
  void CreateFolders(const std::filesystem::path& folder) override;
};

/// Deletes a site folder permanently, silently and without asking, but only
/// what this program writes there: anything else found in it moves to the
/// same place under `keepInto` (when that folder exists), and the folder
/// itself goes once nothing is left. Returns what stayed, and why.
std::vector<cFileFailure> ShellDelete(cFileSystem& files, const std::filesystem::path& folder,
                                      const std::filesystem::path& keepInto);
