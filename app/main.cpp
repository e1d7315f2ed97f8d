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

namespace {

int Run(const cCommandLine& cmd) {
  const cEnvLookup env = [](const char* name) -> const char* { return std::getenv(name); };
  if (ChooseFrontEnd(cmd.noGui, env) == eFrontEnd::Terminal) {
    const std::unique_ptr<cFanDownloader> downloader = MakeDownloader();
    return RunTerminalFrontEnd(cmd, DisplayAvailable(env), *downloader);
  }
  return RunWindowFrontEnd(cmd);
}

}  // namespace

int main(int argc, char** argv) {
  const cCommandLine cmd = ParseCommandLine(ProgramArguments(argc, argv));
  switch (cmd.action) {
    case cCommandLine::eAction::Help:
      std::cout << HelpText();
      return 0;
    case cCommandLine::eAction::Version:
      std::cout << VersionText() << "\n";
      return 0;
    case cCommandLine::eAction::Error:
      std::cerr << "tobirex: " << cmd.error << "\nTry 'tobirex --help' for more information.\n";
      return 2;
    case cCommandLine::eAction::Run:
      break;
  }
  try {
    return Run(cmd);
  } catch (const cInterrupted& e) {
    EndAsSignalled(e.Signal());
  } catch (const std::exception& e) {
    std::cerr << "tobirex: " << e.what() << "\n";
    return 1;
  }
}
