#pragma once
#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "report/MarkupRun.h"

// The inline SVG charts of the racer pages share one frame: plot area x 60..460,
// y 20..220, coordinates held in tenths of a pixel.

/// Writes a chart coordinate held in tenths of a pixel, "123.4", at `out`
/// (room for 14 bytes); returns its end.
inline char* TenthsTo(char* out, int tenths) {
  char* end = std::to_chars(out, out + 12, tenths / 10).ptr;
  *end++ = '.';
  *end++ = static_cast<char>('0' + tenths % 10);
  return end;
}

/// A chart coordinate held in tenths of a pixel, written "123.4".
inline std::string Tenths(int tenths) {
  char text[16];
  return std::string(text, TenthsTo(text, tenths));
}

/// A chart coordinate for cMarkupRun, in tenths of a pixel.
struct cTenths {
  int tenths;
};

inline cMarkupRun& operator<<(cMarkupRun& markup, cTenths at) {
  markup.Commit(TenthsTo(markup.Reserve(), at.tenths));
  return markup;
}

/// Height in tenths of a pixel of a figure in steps of 1/1000 of its scale,
/// kept inside the plot area.
inline int ChartY(float figure, double steps) {
  const long step = std::clamp(std::lround(static_cast<double>(figure) * steps), 0L, 1000L);
  return 2200 - 2 * static_cast<int>(step);
}
