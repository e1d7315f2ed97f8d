#pragma once
#include <string>

/// Hands the file or web address (UTF-8) to the desktop's default
/// application without waiting for it; true when the desktop took it.
bool OpenDocument(const std::string& target);
