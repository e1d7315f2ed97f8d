#include <gtest/gtest.h>

#include "support/GoldenTree.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::set<fs::path> RelativeFiles(const fs::path& root) {
  std::set<fs::path> files;
  if (!fs::exists(root)) return files;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    if (e.is_regular_file()) files.insert(fs::relative(e.path(), root));
  }
  return files;
}

std::string Slurp(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Around(const std::string& bytes, std::size_t at) {
  std::size_t from = at < 40 ? 0 : at - 40;
  return bytes.substr(from, 80);
}

}  // namespace

::testing::AssertionResult TreesEqual(const fs::path& expected, const fs::path& actual) {
  const char* bless = std::getenv("TOBIREX_BLESS");
  if (bless && std::string(bless) == "1") {
    fs::remove_all(expected);
    fs::create_directories(expected.parent_path());
    fs::copy(actual, expected, fs::copy_options::recursive);
    return ::testing::AssertionSuccess() << "blessed " << expected;
  }
  const auto want = RelativeFiles(expected);
  const auto got = RelativeFiles(actual);
  if (want != got) {
    std::ostringstream msg;
    msg << "file sets differ under " << actual << ":";
    for (const auto& f : want)
      if (!got.count(f)) msg << " missing " << f;
    for (const auto& f : got)
      if (!want.count(f)) msg << " unexpected " << f;
    return ::testing::AssertionFailure() << msg.str();
  }
  for (const auto& f : want) {
    const std::string a = Slurp(expected / f), b = Slurp(actual / f);
    if (a == b) continue;
    auto diff = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    auto offset = static_cast<std::size_t>(diff.first - a.begin());
    return ::testing::AssertionFailure() << f << " differs at byte " << offset << " (actual kept in " << actual
                                         << ")\n  expected: " << Around(a, offset) << "\n  actual:   "
                                         << Around(b, offset);
  }
  return ::testing::AssertionSuccess();
}
