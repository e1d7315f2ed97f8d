#include "platform/UsableCores.h"

#include <windows.h>

#include <algorithm>
#include <bit>

unsigned UsableCores() {
  DWORD_PTR process = 0, system = 0;
  if (::GetProcessAffinityMask(::GetCurrentProcess(), &process, &system) && process != 0)
    return static_cast<unsigned>(std::popcount(static_cast<unsigned long long>(process)));
  return std::max<DWORD>(1, ::GetActiveProcessorCount(ALL_PROCESSOR_GROUPS));
}
