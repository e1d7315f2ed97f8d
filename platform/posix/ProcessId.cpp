#include "platform/ProcessId.h"

#include <unistd.h>

long ProcessId() { return static_cast<long>(::getpid()); }
