#pragma once
#include <string>

/// The system's own description of an error number (errno on Linux, the
/// system error code on Windows), as UTF-8 text.
std::string ErrorText(int number);
/// The system's error number for a name that is already taken.
int NameTakenError();
