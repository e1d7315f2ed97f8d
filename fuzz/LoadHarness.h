#pragma once
#include <cstddef>
#include <cstdint>

/// One fuzz run of the loader in a layout (intRev 0 current, else Old2): the
/// input as a file, loaded once building the racer list and once more with a
/// given list, every property read after each load.
void RunLoadHarness(const uint8_t* data, std::size_t size, int16_t intRev);
