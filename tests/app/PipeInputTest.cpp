// A fan file read through a pipe, whose size no one can tell beforehand: the
// limit is checked on what arrived.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <thread>

#include "sensyu/FanInput.h"
#include "support/TempDir.h"
#include "support/TestData.h"

TEST(ReadFanInput, ThroughAPipeTheLimitHoldsOnWhatArrived) {
  const std::string fan = ReadBytes(DataPath("six_racers.txt"));
  cTempDir tmp;
  const auto pipe = tmp.Path() / "fan.txt";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  for (const std::string& bytes : {fan, fan + std::string(kMaxFanFileBytes, ' ')}) {
    std::thread writer([&] { std::ofstream(pipe, std::ios::binary) << bytes; });
    const cFanInput input = ReadFanInput(pipe);
    writer.join();
    EXPECT_EQ(input.failure, bytes == fan ? eFanInputFailure::None : eFanInputFailure::TooLarge);
    EXPECT_EQ(input.bytes.size(), bytes == fan ? fan.size() : 0);
  }
}
