#pragma once

/// Processor cores this process may run on (its affinity mask, which
/// containers and `taskset` narrow), at least 1.
unsigned UsableCores();
