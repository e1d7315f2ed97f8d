#pragma once
#include <string>

/// Hands the file or web address to the desktop's opener (xdg-open) without
/// waiting for it; true when the opener could be started.
bool OpenWithDesktop(const std::string& target);
