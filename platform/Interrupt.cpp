#include "platform/Interrupt.h"

#include <atomic>

namespace {

// Written by a signal handler, read by every thread of the run.
std::atomic<int> g_Stop{0};
static_assert(std::atomic<int>::is_always_lock_free, "a signal handler may only touch a lock-free atomic");

}  // namespace

int StopRequested() { return g_Stop.load(std::memory_order_relaxed); }

void RequestStop(int signal) { g_Stop.store(signal, std::memory_order_relaxed); }

void ThrowIfInterrupted() {
  if (const int signal = StopRequested(); signal != 0) throw cInterrupted(signal);
}
