#pragma once
#include <filesystem>
#include <string>
#include <string_view>

// Text inside the program is UTF-8; the system names files in its own form
// (bytes on Linux, UTF-16 on Windows). These two are the only crossings.

/// The path that UTF-8 text names.
std::filesystem::path PathFromUtf8(std::string_view utf8);
/// The path as UTF-8 text, for messages and for the shell.
std::string PathToUtf8(const std::filesystem::path& path);
/// The separator the user sees in paths: "/" or "\".
char PathSeparator();
/// The path as UTF-8 text with "/" between its names, as the web writes them.
std::string PathToWebUtf8(const std::filesystem::path& path);
