#pragma once
#include <span>
#include <string_view>

// Word lists of the sample: names with their half-width kana readings, the
// branches and the prefectures, all as UTF-8.

struct SampleName {
  std::string_view kanji;
  std::string_view kana;
};

/// Family names.
std::span<const SampleName> FamilyNames();
/// Given names of men.
std::span<const SampleName> MaleNames();
/// Given names of women.
std::span<const SampleName> FemaleNames();
/// The branches (支部), two kanji each.
std::span<const std::string_view> Branches();
/// Prefectures written in three full-width characters, as the birthplace field holds them.
std::span<const std::string_view> Prefectures();
