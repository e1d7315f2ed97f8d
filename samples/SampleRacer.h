#pragma once
#include <array>
#include <string>

#include "samples/SampleRandom.h"

// One racer of the sample period as plain numbers and UTF-8 texts, before it is
// written as a fixed-width record. Rates are whole numbers in the file's units:
// per mille for the top-two rates, hundredths for win rate, timings and orders.

struct SampleCourse {
  int starts = 0;
  std::array<int, 6> places{};  // 1st .. 6th
  int f0 = 0, l0 = 0, l1 = 0, k0 = 0, k1 = 0, s0 = 0, s1 = 0, s2 = 0;
  int topTwoPerMille = 0;
  int startTiming = 0;  // hundredths of a second
  int startOrder = 0;   // hundredths
};

struct SampleRacer {
  int number = 0;
  std::string family, given, familyKana, givenKana;
  std::string branch, birthplace;  // "群馬"; "静　岡" or "神奈川"
  std::string klass;
  std::array<std::string, 3> classOld;
  std::string birth;  // "S571119"
  int sex = 1, age = 0, height = 0, weight = 0;
  std::string blood;  // "A ", "AB"
  int winRate = 0;          // hundredths
  int topTwoPerMille = 0;
  int firsts = 0, seconds = 0, starts = 0, finals = 0, titles = 0;
  int startTiming = 0;
  std::array<SampleCourse, 6> courses;
  int abilityOld = 0, ability = 0;  // the index times 100
  int trainingTerm = 0;
  int outsideL0 = 0, outsideL1 = 0, outsideK0 = 0, outsideK1 = 0;
};

/// Age is counted on this day, the day after the period's last day.
inline constexpr int kSampleAgeYear = 2025, kSampleAgeMonth = 11, kSampleAgeDay = 1;
/// Training terms of the oldest and the newest racers of the sample.
inline constexpr int kSampleFirstTerm = 55, kSampleLastTerm = 133;

/// A plausible racer with every figure consistent with the per-course counts.
SampleRacer DrawRacer(int number, int trainingTerm, cSampleRandom& rng);
/// Puts the name "能登　圭介" on the racer: its code page 932 bytes hold 0x5C.
void GiveBackslashName(SampleRacer& racer);
