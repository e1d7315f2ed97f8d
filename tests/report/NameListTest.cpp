#include "report/NameList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

std::string Entry(const std::string& reading, const std::string& no, const std::string& name = "名") {
  return reading + "\t" + no + "\r.\\4000\\" + no + ".html\r" + name;
}

std::string ReadingOf(const std::string& entry) { return entry.substr(0, entry.find('\t')); }

std::vector<std::string> Readings(const cNameList& list) {
  std::vector<std::string> readings;
  for (int i = 0; i < list.ListCount(); ++i) readings.push_back(ReadingOf(list.List(i)));
  return readings;
}

// The heading an entry falls under: first character of the reading without its spaces.
std::string Initial(const std::string& entry) {
  std::string reading = ReadingOf(entry);
  std::size_t start = reading.find_first_not_of(' ');
  if (start == std::string::npos) return "";
  std::size_t n = 1;
  while (start + n < reading.size() && (static_cast<unsigned char>(reading[start + n]) & 0xC0) == 0x80) ++n;
  return reading.substr(start, n);
}

// Every heading's entries stand together and headings come in code point order.
void ExpectHeadingsContiguous(const cNameList& list) {
  std::set<std::string> closed;
  std::string current;
  for (int i = 0; i < list.ListCount(); ++i) {
    std::string initial = Initial(list.List(i));
    if (i > 0 && initial == current) continue;
    EXPECT_TRUE(closed.insert(initial).second) << "heading " << initial << " again at " << i;
    if (i > 0) {
      EXPECT_LT(current, initial) << "at " << i;
    }
    current = initial;
  }
}

// The file holds half-width readings: the voiced mark is a character of its
// own, so ｶﾞ stands under ｶ and the collator puts it in dictionary order.
TEST(cNameList, DictionaryOrderWithinAHeading) {
  cNameList list;
  for (const char* reading : {"ｶｳ", "ｶﾞｲ", "ｶｲ", "ｶﾀ", "ｶﾞｳ"}) list.AddItem(Entry(reading, "4001"));
  EXPECT_EQ(Readings(list), (std::vector<std::string>{"ｶｲ", "ｶﾞｲ", "ｶｳ", "ｶﾞｳ", "ｶﾀ"}));
}

// A precomposed ガ is a first character of its own and heads its own group.
TEST(cNameList, FullWidthVoicedLetterIsItsOwnHeading) {
  cNameList list;
  for (const char* reading : {"カウ", "ガイ", "カイ", "キ"}) list.AddItem(Entry(reading, "4001"));
  EXPECT_EQ(Readings(list), (std::vector<std::string>{"カイ", "カウ", "ガイ", "キ"}));
}

TEST(cNameList, HeadingsByFirstCharacterOfTheTrimmedReading) {
  cNameList list;
  const char* readings[] = {"ｲﾄｳ", " ｱﾍﾞ", "ｱｵｷ", "アイ", "ｲｹﾀﾞ ", "  ", "  ｲｼｲ", "ｱｵｷ", "ｳｴﾉ", "あい"};
  for (const char* reading : readings) list.AddItem(Entry(reading, "4001"));
  ASSERT_EQ(list.ListCount(), 10);
  ExpectHeadingsContiguous(list);
  EXPECT_EQ(ReadingOf(list.List(0)), "  ");  // a blank reading has no heading and comes first
  EXPECT_EQ(Readings(list), (std::vector<std::string>{"  ", "あい", "アイ", " ｱﾍﾞ", "ｱｵｷ", "ｱｵｷ", "  ｲｼｲ",
                                                      "ｲｹﾀﾞ ", "ｲﾄｳ", "ｳｴﾉ"}));
}

TEST(cNameList, CaseInsensitiveDictionaryOrder) {
  cNameList list;
  for (const char* reading : {"abe", "ABD", "Abc"}) list.AddItem(Entry(reading, "4001"));
  EXPECT_EQ(Readings(list), (std::vector<std::string>{"Abc", "ABD", "abe"}));
}

// Case, width and small kana lie below the collator's strength: such entries are equal
// and keep the order in which the run added them.
TEST(cNameList, EqualEntriesKeepInsertionOrder) {
  cNameList list;
  const char* readings[] = {"ｲトｳ", "ITO", "ｲﾄｳ", "Ito", "ｲトｩ", "ITo"};
  for (const char* reading : readings) list.AddItem(Entry(reading, "4001"));
  EXPECT_EQ(Readings(list), (std::vector<std::string>{"ITO", "Ito", "ITo", "ｲトｳ", "ｲﾄｳ", "ｲトｩ"}));
}

TEST(cNameList, AddingAfterReadingKeepsTheOrder) {
  cNameList list;
  list.AddItem(Entry("ｶｲ", "4001"));
  list.AddItem(Entry("ｱｲ", "4002"));
  EXPECT_EQ(ReadingOf(list.List(0)), "ｱｲ");
  list.AddItem(Entry("ｲｲ", "4003"));
  list.AddItem(Entry("ｱｱ", "4004"));
  EXPECT_EQ(Readings(list), (std::vector<std::string>{"ｱｱ", "ｱｲ", "ｲｲ", "ｶｲ"}));
  list.Clear();
  EXPECT_EQ(list.ListCount(), 0);
  list.AddItem(Entry("ｳ", "4005"));
  EXPECT_EQ(Readings(list), (std::vector<std::string>{"ｳ"}));
}

TEST(cNameList, FullRunOfMixedReadingsKeepsHeadingsTogether) {
  const std::vector<std::string> kana = {"ｱ", "ｲ", "ｶ", "ｶﾞ", "ﾊﾟ", "ア", "ガ", " ", "ﾝ", "ｰ", "A", "a"};
  std::mt19937 rng(12345);
  std::uniform_int_distribution<std::size_t> pick(0, kana.size() - 1);
  std::uniform_int_distribution<int> length(1, 6);
  cNameList list;
  std::multiset<std::string> added;
  for (int i = 0; i < 32766; ++i) {
    std::string reading;
    for (int n = length(rng); n > 0; --n) reading += kana[pick(rng)];
    std::string entry = Entry(reading, std::to_string(1000 + i % 9000));
    added.insert(entry);
    list.AddItem(entry);
  }
  ASSERT_EQ(list.ListCount(), 32766);
  ExpectHeadingsContiguous(list);
  std::multiset<std::string> listed;
  for (int i = 0; i < list.ListCount(); ++i) listed.insert(list.List(i));
  EXPECT_EQ(listed, added);
}

}  // namespace
