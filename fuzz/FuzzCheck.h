#pragma once
#include <cstdio>
#include <cstdlib>

/// Stops the run with `what` on stderr when `ok` is false; the fuzzer records the input.
inline void FuzzCheck(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}
