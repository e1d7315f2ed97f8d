#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "samples/SampleRacer.h"

// The period of the sample and its record shape: today's official layout of
// 416 bytes, the 410-byte record followed by the 6-byte birthplace.

inline constexpr std::string_view kSampleNen = "2025";
inline constexpr std::string_view kSampleKi = "2";
inline constexpr std::string_view kSampleYmdStart = "20250501";
inline constexpr std::string_view kSampleYmdEnd = "20251031";
inline constexpr std::size_t kSampleRecordBytes = 416;

/// The racer's record as code page 932 bytes, without the line end; every number zero-padded.
std::string SampleRecord(const SampleRacer& racer);
