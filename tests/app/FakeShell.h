#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "app/mGlobal.h"

// Real file-system work in a temp folder; the desktop is a given path and
// opening pages or the download page is only recorded.
class cFakeShell : public cLocalShellServices {
 public:
  struct Open {
    std::string file, params, dir;
  };

  explicit cFakeShell(std::string desktopPath) : desktop(std::move(desktopPath)) {}

  std::string GetDesktopPath() override { return desktop; }
  void ShellDelete(const std::filesystem::path& folder) override {
    deleted.push_back(folder);
    cLocalShellServices::ShellDelete(folder);
  }
  int32_t ShellOpen(const std::string& file, const std::string& params, const std::string& dir) override {
    opened.push_back({file, params, dir});
    return 1;
  }
  void OpenDownloadPage() override { ++downloadPageOpened; }

  std::string desktop;
  std::vector<std::filesystem::path> deleted;
  std::vector<Open> opened;
  int downloadPageOpened = 0;
};
