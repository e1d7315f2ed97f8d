#include "platform/LocalTime.h"

#include <windows.h>

cYearMonth LocalYearMonth() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  return {now.wYear, now.wMonth};
}
