#pragma once
#include <ostream>
#include <string>

// Stand-in for the official fan handbook file of the period 2025 後期: racer
// records of 416 bytes in code page 932, each ending in CR LF. The bundled
// sample samples/fan2510.txt is WriteSample with the default count.
//
// Racer numbers: up to 2,000 racers take distinct numbers from 2950..5299 in
// ascending order; up to 9,000 racers take distinct numbers from 1000..9999
// in ascending order. Bigger files are blocks of 9,000 racers (every number
// 1000..9999) followed by a block of the rest, so numbers repeat from block
// to block and ascend only within a block.

inline constexpr int kSampleDefaultCount = 1600;
inline constexpr int kSampleMaxCount = 100000;

/// Writes `count` racers (0..kSampleMaxCount); the same count gives the same bytes on every machine.
void WriteSample(std::ostream& out, int count);
/// Writes the sample to the file at `path`; false when the file cannot be written.
bool WriteSampleFile(const std::string& path, int count);
