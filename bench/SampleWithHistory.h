#pragma once
#include <string>

/// The sample's older periods generated for the history benchmarks.
inline constexpr int kOlderPeriods = 8;

/// Path of a copy of the sample beside its eight older periods (2025 前期 back
/// to 2021 後期), in a temporary folder of their own that is removed when the
/// program ends.
const std::string& SampleWithHistory();
