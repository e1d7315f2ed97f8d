#include "support/TestData.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/Path.h"

std::filesystem::path DataPath(const std::string& relative) {
  return PathFromUtf8(std::string(TEST_DATA_DIR) + "/" + relative);
}

std::string ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::vector<std::string>> ReadRows(const std::string& relative) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream in(ReadBytes(DataPath(relative)));
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    std::vector<std::string> row{std::istream_iterator<std::string>(words), {}};
    if (!row.empty() && row[0][0] != '#') rows.push_back(row);
  }
  return rows;
}

void ExpectMatchesFile(const std::string& actual, const std::string& relative) {
  const auto file = DataPath(relative);
  if (const char* regen = std::getenv("TOBIREX_REGENERATE"); regen && *regen == '1') {
    std::ofstream(file, std::ios::binary) << actual;
    return;
  }
  const std::string expected = ReadBytes(file);
  std::size_t at = 0;
  while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
  EXPECT_TRUE(actual == expected) << relative << " differs at byte " << at << ": expected «"
                                  << expected.substr(at, 60) << "», got «" << actual.substr(at, 60) << "»";
}
