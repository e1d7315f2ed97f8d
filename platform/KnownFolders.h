#pragma once
#include <filesystem>

/// The user's desktop folder as the desktop names it, or an empty path when
/// the user has no home (neither HOME nor a folder the account names as its home).
std::filesystem::path DesktopFolder();
/// The folder the user's downloads go to, or an empty path when the user has no home.
std::filesystem::path DownloadFolder();
