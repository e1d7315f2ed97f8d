#include "LoadHarness.h"

// The loader on records of the current layout.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  RunLoadHarness(data, size, 0);
  return 0;
}
