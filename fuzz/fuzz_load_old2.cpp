#include "LoadHarness.h"

// The loader on records of the Old2 layout; the second load goes through FileLoadOld2.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  RunLoadHarness(data, size, 2);
  return 0;
}
