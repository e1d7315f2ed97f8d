#pragma once
#include <cerrno>

// A signal that asks the run to stop may arrive during any system call; the
// call is simply made again, and the stop is taken up where the run looks for it.
template <typename Call>
auto Retried(Call call) {
  for (;;) {
    const auto result = call();
    if (result != -1 || errno != EINTR) return result;
  }
}
