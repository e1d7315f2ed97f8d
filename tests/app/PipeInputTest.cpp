// A fan file read through a pipe, whose size no one can tell beforehand: the
// limit is checked on what arrived.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <thread>

#include "sensyu/FanInput.h"
#include "support/TempDir.h"
#include "support/TestData.h"

namespace {

TEST(ReadFanInput, ThroughAPipeTheLimitHoldsOnWhatArrived) {
  const std::string fan = ReadBytes(DataPath("six_racers.txt"));
  const struct {
    std::string bytes;
    eFanInputFailure failure;
  } rows[] = {{fan, eFanInputFailure::None}, {fan + std::string(kMaxFanFileBytes, ' '), eFanInputFailure::TooLarge}};
  cTempDir tmp;
  const auto pipe = tmp.Path() / "fan.txt";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  for (const auto& row : rows) {
    std::thread writer([&] { std::ofstream(pipe, std::ios::binary) << row.bytes; });
    const cFanInput input = ReadFanInput(pipe);
    writer.join();
    EXPECT_EQ(input.failure, row.failure);
    EXPECT_EQ(input.bytes.size(), row.failure == eFanInputFailure::None ? fan.size() : 0);
  }
}

}  // namespace
