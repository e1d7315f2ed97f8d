#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sensyu/SlotIndex.h"

namespace {

// Slot 0 is the "not loaded" slot and never indexed.
const std::vector<std::string> kNumbers = {
    "4321",           // 0: never found
    "4321", "4322", "4321",  // 1..3: a racer listed twice keeps slot 1
    "",                      // 4: a position the loader left empty
    "１２３４",               // 5: twelve bytes, longer than a packed word
    "１２３５",               // 6: shares its first seven bytes with slot 5
    "1234567", "12345678",   // 7, 8: seven bytes fit the word, eight do not
};

TEST(SlotIndex, FindsTheLowestSlotOfEachNumber) {
  cSlotIndex index;
  index.Build(kNumbers);
  const struct {
    std::string number;
    int16_t slot;
  } rows[] = {{"4321", 1}, {"4322", 2}, {"", 4},        {"１２３４", 5},     {"１２３５", 6},
              {"1234567", 7}, {"12345678", 8}, {"4323", 0}, {"432", 0}, {"43210", 0},
              {"１２３６", 0}, {"12345679", 0}, {"4321 ", 0}};
  for (const auto& r : rows) EXPECT_EQ(index.Find(kNumbers, r.number), r.slot) << "'" << r.number << "'";
}

TEST(SlotIndex, EmptyOrClearedIndexFindsNothing) {
  cSlotIndex index;
  EXPECT_EQ(index.Find(kNumbers, "4321"), 0);
  index.Build(kNumbers);
  index.Clear();
  EXPECT_EQ(index.Find(kNumbers, "4321"), 0);
  index.Build({"0"});  // only the unused slot 0
  EXPECT_EQ(index.Find({"0"}, "0"), 0);
}

// A rebuilt index answers from its new numbers, even for the number asked last.
TEST(SlotIndex, RebuildForgetsEarlierAnswers) {
  const std::vector<std::string> before = {"", "1000", "4321"};
  const std::vector<std::string> after = {"", "4321", "1000", "2000"};
  cSlotIndex index;
  index.Build(before);
  EXPECT_EQ(index.Find(before, "4321"), 2);
  index.Build(after);
  EXPECT_EQ(index.Find(after, "4321"), 1);
  EXPECT_EQ(index.Find(after, "2000"), 3);
  index.Build(before);
  EXPECT_EQ(index.Find(before, "2000"), 0);
  cSlotIndex other;
  other.Build(after);
  EXPECT_EQ(other.Find(after, "2000"), 3);
  EXPECT_EQ(index.Find(before, "2000"), 0);
}

TEST(SlotIndex, ManyNumbersAllFound) {
  std::vector<std::string> numbers = {""};
  for (int n = 0; n < 32766; ++n) numbers.push_back(std::to_string(1000 + n % 9000));
  cSlotIndex index;
  index.Build(numbers);
  for (int n = 0; n < 9000; ++n) EXPECT_EQ(index.Find(numbers, std::to_string(1000 + n)), n + 1);
  EXPECT_EQ(index.Find(numbers, "10000"), 0);
}

}  // namespace
