#include "platform/OpenDocument.h"

#include "platform/win32/Wide.h"

#include <shellapi.h>

bool OpenDocument(const std::string& target) {
  const auto result = reinterpret_cast<INT_PTR>(
      ::ShellExecuteW(nullptr, L"open", Widen(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return result > 32;
}
