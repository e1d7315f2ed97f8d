#pragma once

struct cYearMonth {
  int year = 0;   // four digits
  int month = 0;  // 1 to 12
};

/// Today's year and month on this computer's clock and time zone.
cYearMonth LocalYearMonth();
