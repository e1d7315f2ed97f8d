#include "app/term/StatusLine.h"

#include <charconv>

namespace {

std::optional<long> ParseNumber(std::string_view text) {
  long value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end || text.empty()) return std::nullopt;
  return value;
}

}  // namespace

std::optional<cCounter> ParseCounter(std::string_view text) {
  const std::size_t slash = text.find('/');
  if (slash == std::string_view::npos) return std::nullopt;
  auto done = ParseNumber(text.substr(0, slash));
  auto total = ParseNumber(text.substr(slash + 1));
  if (!done || !total || *total <= 0 || *done < 0 || *done > *total) return std::nullopt;
  return cCounter{*done, *total};
}

std::string ProgressBar(const cCounter& counter, int width) {
  const long filled = counter.done * width / counter.total;
  std::string bar = "[";
  bar.append(static_cast<std::size_t>(filled), '#');
  bar.append(static_cast<std::size_t>(width - filled), '-');
  return bar + "]";
}
