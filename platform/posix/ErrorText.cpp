#include "platform/ErrorText.h"

#include <cerrno>
#include <cstring>

std::string ErrorText(int number) {
  char buf[256];
  // The GNU strerror_r returns the text, which may or may not be buf.
  return ::strerror_r(number, buf, sizeof buf);
}

int NameTakenError() { return EEXIST; }
