#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sensyu/Cp932.h"
#include "sensyu/FanLines.h"

namespace {

TEST(SplitLines, CrLfCrAndLfEachEndALine) {
  const std::vector<std::string_view> expected = {"a", "b", "", "c", "d"};
  EXPECT_EQ(SplitLines("a\r\nb\r\rc\nd"), expected);
  EXPECT_EQ(SplitLines("a\r\nb\r\n\nc\r\nd\r\n"), expected);
  // A long line is searched eight bytes at a time: a line end at every offset.
  for (std::size_t at = 0; at < 20; ++at) {
    const std::string text = std::string(at, 'x') + "\n" + std::string(19 - at, 'y');
    const auto lines = SplitLines(text);
    ASSERT_EQ(lines.size(), at == 19 ? 1u : 2u) << at;
    EXPECT_EQ(lines[0].size(), at) << at;
  }
}

// The racer number is the line's first four characters, however many bytes.
TEST(LineKey, FirstFourCharactersOfTheLine) {
  const struct {
    std::string line;  // UTF-8, written in code page 932
    std::string key;
  } rows[] = {
      {"4321山田", "4321"},     {"12", "12"},         {"", ""},
      {"４３２１山田", "４３２１"}, {"43２1田", "43２1"},   {"ｱｲｳｴｵ", "ｱｲｳｴ"},
      {" 1.5ab", " 1.5"},       {"4\\21", "4\\21"},
  };
  for (const auto& r : rows) EXPECT_EQ(LineKey(Utf8ToCp932(r.line)), r.key) << r.line;
  // A double-byte character cut at the eighth byte is not part of the key.
  EXPECT_EQ(LineKey(std::string("123\x81") + "\x40"), "123　");
  EXPECT_EQ(LineKey(std::string("\x81\x40\x81\x40\x81\x40\x81")), "　　　〓");
}

}  // namespace
