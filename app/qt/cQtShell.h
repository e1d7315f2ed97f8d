#pragma once
#include "app/mGlobal.h"

// Shell services through Qt: the pages go to the user's default browser.
class cQtShell : public cLocalShellServices {
 public:
  int32_t ShellOpen(const std::string& file, const std::string& params, const std::string& dir) override;
};
