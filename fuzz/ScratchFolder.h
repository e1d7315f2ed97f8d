#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>

// Every input reaches the code under test as a file. One private folder per
// process holds it (and the converted site), and the same names are reused on
// every run, so a run costs one file write rather than a folder setup.

/// The process's scratch folder, created on first use and removed at exit.
const std::filesystem::path& ScratchFolder();
/// Replaces `file` with the `size` bytes at `data`; aborts when it cannot.
void WriteInput(const std::filesystem::path& file, const uint8_t* data, std::size_t size);
