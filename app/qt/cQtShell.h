#pragma once
#include "app/mGlobal.h"

// Shell services through Qt: the user's default applications for pages and links.
class cQtShell : public cLocalShellServices {
 public:
  int32_t ShellOpen(const std::string& file, const std::string& params, const std::string& dir) override;
  void OpenDownloadPage() override;
};
