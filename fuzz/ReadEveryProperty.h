#pragma once
#include "sensyu/cSensyuFile.h"

/// Reads every property of every slot (0..n), every course 1..6 and every
/// finishing place, plus the file-level values and a racer that is not loaded.
void ReadEveryProperty(const cSensyuFile& sensyu);
