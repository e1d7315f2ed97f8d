#include "app/FrontEndChoice.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

TEST(ChooseFrontEnd, TerminalWhenAskedOrWithoutDisplay) {
  struct Row {
    std::map<std::string, std::string> env;
    bool noGui;
    eFrontEnd expected;
  };
  const Row rows[] = {
      {{}, false, eFrontEnd::Terminal},
      {{{"DISPLAY", ":0"}}, false, eFrontEnd::Qt},
      {{{"WAYLAND_DISPLAY", "wayland-0"}}, false, eFrontEnd::Qt},
      {{{"DISPLAY", ""}}, false, eFrontEnd::Terminal},
      {{{"QT_QPA_PLATFORM", "offscreen"}}, false, eFrontEnd::Qt},
      {{{"QT_QPA_PLATFORM", ""}}, false, eFrontEnd::Terminal},
      {{{"DISPLAY", ":0"}}, true, eFrontEnd::Terminal},
      {{{"QT_QPA_PLATFORM", "offscreen"}}, true, eFrontEnd::Terminal},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(::testing::PrintToString(r.env) + (r.noGui ? " --no-gui" : ""));
    const cEnvLookup env = [&](const char* name) -> const char* {
      auto it = r.env.find(name);
      return it == r.env.end() ? nullptr : it->second.c_str();
    };
    EXPECT_EQ(ChooseFrontEnd(r.noGui, env), r.expected);
  }
}

}  // namespace
