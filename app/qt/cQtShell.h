#pragma once
#include "app/mGlobal.h"

// Shell services through Qt: the desktop folder from the platform (XDG user
// dirs on Linux) and the user's default applications for pages and links.
class cQtShell : public cLocalShellServices {
 public:
  std::string GetDesktopPath() override;
  int32_t ShellOpen(const std::string& file, const std::string& params, const std::string& dir) override;
  void OpenDownloadPage() override;
};
