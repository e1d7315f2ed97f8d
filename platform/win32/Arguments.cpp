#include "platform/Arguments.h"

#include "platform/win32/Wide.h"

#include <shellapi.h>

// The ANSI argv would lose every character outside the user's code page.
std::vector<std::string> ProgramArguments(int, char**) {
  int count = 0;
  wchar_t** words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  std::vector<std::string> result;
  for (int i = 1; i < count; ++i) result.push_back(Narrow(words[i]));
  ::LocalFree(words);
  return result;
}
