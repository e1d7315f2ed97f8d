#pragma once
#include <string>

#include "sensyu/cSensyuFile.h"

/// Every property of every loaded racer, one "name=value" per line: the
/// expected-values files under tests/data/ are written in this form.
std::string DumpRacers(const cSensyuFile& f);
