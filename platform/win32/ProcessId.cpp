#include "platform/ProcessId.h"

#include <windows.h>

long ProcessId() { return static_cast<long>(::GetCurrentProcessId()); }
