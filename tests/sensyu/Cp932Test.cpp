#include <gtest/gtest.h>

#include "sensyu/Cp932.h"
#include "support/TestData.h"

namespace {

std::string FromHex(const std::string& hex) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return bytes;
}

TEST(Cp932, ConvertsEveryRowAsWindowsDoes) {
  for (const auto& row : ReadRows("cp932.txt")) {
    const std::string cp932 = FromHex(row[1]), utf8 = FromHex(row[2]);
    if (row[0] != "encode") {
      EXPECT_EQ(Cp932ToUtf8(cp932), utf8) << row[1];
    }
    if (row[0] != "decode") {
      EXPECT_EQ(Utf8ToCp932(utf8), cp932) << row[2];
    }
    if (row[0] == "both") {
      EXPECT_EQ(Utf8ToCp932Strict(utf8), cp932) << row[2];
    }
  }
}

// A UTF-8 copy of a fan file reads back as the original bytes, or is refused.
TEST(Cp932, StrictlyReadsAUtf8Copy) {
  for (const auto& row : ReadRows("utf8_copy.txt")) {
    const auto expected = row[1] == "-" ? std::nullopt : std::optional(FromHex(row[1]));
    EXPECT_EQ(Utf8ToCp932Strict(FromHex(row[0])), expected) << row[0];
  }
}

// Whatever the file holds, the text read from it encodes to bytes that read
// back as the same text: pages never carry bytes a browser cannot decode.
TEST(Cp932, EveryBytePairRoundTrips) {
  for (int lead = 0x80; lead <= 0xFF; ++lead) {
    for (int trail = 0x00; trail <= 0xFF; ++trail) {
      const std::string text = Cp932ToUtf8(std::string{static_cast<char>(lead), static_cast<char>(trail)});
      ASSERT_EQ(Cp932ToUtf8(Utf8ToCp932(text)), text) << std::hex << lead << " " << trail;
    }
  }
}

}  // namespace
