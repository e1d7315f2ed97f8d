#include "platform/ParallelFor.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <limits>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/UsableCores.h"

namespace {

constexpr unsigned kMostHelpers = 7;

class cRun {
 public:
  cRun(std::size_t count, const std::function<void(std::size_t)>& work) : m_Count(count), m_Work(work) {}

  /// Does the next unclaimed piece; false when none is left or the run failed.
  bool DoNext() {
    if (m_Failed.load(std::memory_order_acquire)) return false;
    const std::size_t i = m_Next.fetch_add(1, std::memory_order_relaxed);
    if (i >= m_Count) return false;
    try {
      m_Work(i);
    } catch (...) {
      Fail(i, std::current_exception());
      return false;
    }
    m_Done.fetch_add(1, std::memory_order_release);
    return true;
  }

  void DoAll() {
    while (DoNext()) {
    }
  }

  std::size_t Done() const { return m_Done.load(std::memory_order_acquire); }
  void Stop() { m_Failed.store(true, std::memory_order_release); }

  void RethrowFailure() {
    std::lock_guard lock(m_FailureMutex);
    if (m_Failure) std::rethrow_exception(m_Failure);
  }

 private:
  void Fail(std::size_t i, std::exception_ptr failure) {
    std::lock_guard lock(m_FailureMutex);
    if (i < m_FailedAt) {
      m_FailedAt = i;
      m_Failure = std::move(failure);
    }
    Stop();
  }

  const std::size_t m_Count;
  const std::function<void(std::size_t)>& m_Work;
  std::atomic<std::size_t> m_Next{0};
  std::atomic<std::size_t> m_Done{0};
  std::atomic<bool> m_Failed{false};
  std::mutex m_FailureMutex;
  std::exception_ptr m_Failure;
  std::size_t m_FailedAt = std::numeric_limits<std::size_t>::max();
};

// Joins the helpers however this thread leaves, stopping them first if it
// leaves by an exception of its own.
class cHelpers {
 public:
  explicit cHelpers(cRun& run) : m_Run(run) {}
  ~cHelpers() {
    if (std::uncaught_exceptions() > 0) m_Run.Stop();
    JoinAll();
  }
  void Start(unsigned helpers) {
    try {
      for (unsigned i = 0; i < helpers; ++i) m_Threads.emplace_back([this] { m_Run.DoAll(); });
    } catch (const std::system_error&) {
    }
  }
  void JoinAll() {
    for (std::thread& t : m_Threads)
      if (t.joinable()) t.join();
  }

 private:
  cRun& m_Run;
  std::vector<std::thread> m_Threads;
};

}  // namespace

unsigned HelpersFor(std::size_t items, std::size_t perHelper) {
  const std::size_t worthwhile = items / perHelper;
  return static_cast<unsigned>(std::min<std::size_t>({UsableCores() - 1, worthwhile, kMostHelpers}));
}

void ParallelFor(std::size_t count, unsigned helpers, const std::function<void(std::size_t)>& work,
                 const std::function<void(std::size_t)>& reached, const std::function<void()>& meanwhile) {
  cRun run(count, work);
  std::size_t announced = 0;
  const auto announce = [&](std::size_t upTo) {
    if (!reached) return;
    while (announced < upTo) reached(++announced);
  };
  {
    cHelpers threads(run);
    threads.Start(helpers);
    if (meanwhile) meanwhile();
    while (run.DoNext()) announce(run.Done());
    threads.JoinAll();
  }
  run.RethrowFailure();
  announce(count);
}
