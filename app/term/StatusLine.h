#pragma once
#include <optional>
#include <string>
#include <string_view>

// The counter label "i/n" of the conversion run, read back for a progress bar.
struct cCounter {
  long done = 0;
  long total = 0;
};

/// The counter in text such as "15/1600"; nullopt for any other text or a total of 0.
std::optional<cCounter> ParseCounter(std::string_view text);
/// A bar of `width` cells such as "[#####-----]", filled in proportion done/total.
std::string ProgressBar(const cCounter& counter, int width);
