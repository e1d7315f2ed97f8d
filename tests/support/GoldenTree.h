#pragma once
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

// Compares a whole output tree with its checked-in expected tree, byte for
// byte. On a mismatch the message names the file and the first differing
// offset. With TOBIREX_BLESS=1 in the environment the expected tree is
// replaced by the actual one instead (read the diff before committing it).
::testing::AssertionResult TreesEqual(const std::filesystem::path& expected, const std::filesystem::path& actual);
