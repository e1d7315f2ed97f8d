#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/FrontEndChoice.h"
#include "app/WindowFrontEnd.h"
#include "app/term/TerminalFrontEnd.h"
#include "platform/Arguments.h"
#include "platform/Interrupt.h"
#include "platform/Terminal.h"

namespace {

// Where no console can take the text (tobirex.exe started from Explorer), a box does.
int Tell(const std::string& text, bool failure, int status) {
  if (ReachCallersConsole())
    (failure ? std::cerr : std::cout) << text << std::flush;
  else
    ShowStartupText(text, failure);
  return status;
}

int Run(const cCommandLine& cmd) {
  const cEnvLookup env = [](const char* name) -> const char* { return std::getenv(name); };
  // --no-gui with no console to write to would run unseen: the window takes over.
  if (ChooseFrontEnd(cmd.noGui, env) == eFrontEnd::Terminal && ReachCallersConsole()) {
    const std::unique_ptr<cFanDownloader> downloader = MakeDownloader();
    return RunTerminalFrontEnd(cmd, DisplayAvailable(env), *downloader);
  }
  return RunWindowFrontEnd(cmd);
}

}  // namespace

int main(int argc, char** argv) {
  const cCommandLine cmd = ParseCommandLine(ProgramArguments(argc, argv));
  switch (cmd.action) {
    case cCommandLine::eAction::Help: return Tell(HelpText(), false, 0);
    case cCommandLine::eAction::Version: return Tell(VersionText() + "\n", false, 0);
    case cCommandLine::eAction::Error:
      return Tell("tobirex: " + cmd.error + "\nTry 'tobirex --help' for more information.\n", true, 2);
    case cCommandLine::eAction::Run: break;
  }
  try {
    return Run(cmd);
  } catch (const cInterrupted& e) {
    EndAsSignalled(e.Signal());
  } catch (const std::exception& e) {
    return Tell(std::string("tobirex: ") + e.what() + "\n", true, 1);
  }
}
