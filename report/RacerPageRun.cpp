#include "report/RacerPageRun.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "sensyu/UsableCores.h"

namespace {

// Helpers beyond this only queue up at the file system.
constexpr unsigned kMostHelpers = 7;
// Below this many pages a run is over before a thread has started.
constexpr int16_t kPagesPerHelper = 64;

class cRacerPageRun {
 public:
  cRacerPageRun(int16_t count, const std::function<void(int16_t)>& makePage)
      : m_Count(count), m_MakePage(makePage) {}

  /// Makes the next unclaimed page; false when none is left or the run failed.
  bool MakeNext() {
    if (m_Failed.load(std::memory_order_acquire)) return false;
    const int position = m_Next.fetch_add(1, std::memory_order_relaxed);
    if (position > m_Count) return false;
    try {
      m_MakePage(static_cast<int16_t>(position));
    } catch (...) {
      Fail(position, std::current_exception());
      return false;
    }
    m_Made.fetch_add(1, std::memory_order_release);
    return true;
  }

  void MakeAll() {
    while (MakeNext()) {
    }
  }

  int Made() const { return m_Made.load(std::memory_order_acquire); }

  void Stop() { m_Failed.store(true, std::memory_order_release); }

  void RethrowFailure() {
    std::lock_guard lock(m_FailureMutex);
    if (m_Failure) std::rethrow_exception(m_Failure);
  }

 private:
  void Fail(int position, std::exception_ptr failure) {
    std::lock_guard lock(m_FailureMutex);
    if (position < m_FailedAt) {
      m_FailedAt = position;
      m_Failure = std::move(failure);
    }
    Stop();
  }

  const int m_Count;
  const std::function<void(int16_t)>& m_MakePage;
  std::atomic<int> m_Next{1};
  std::atomic<int> m_Made{0};
  std::atomic<bool> m_Failed{false};
  std::mutex m_FailureMutex;
  std::exception_ptr m_Failure;
  int m_FailedAt = INT_MAX;
};

// Joins the helpers however this thread leaves, stopping them first if it
// leaves by an exception of its own.
class cHelperThreads {
 public:
  explicit cHelperThreads(cRacerPageRun& run) : m_Run(run) {}
  ~cHelperThreads() {
    if (std::uncaught_exceptions() > 0) m_Run.Stop();
    JoinAll();
  }
  // A helper the system will not give is simply missing: this thread makes more pages.
  void Start(unsigned helpers) {
    try {
      for (unsigned i = 0; i < helpers; ++i) m_Threads.emplace_back([this] { m_Run.MakeAll(); });
    } catch (const std::system_error&) {
    }
  }
  void JoinAll() {
    for (std::thread& t : m_Threads)
      if (t.joinable()) t.join();
  }

 private:
  cRacerPageRun& m_Run;
  std::vector<std::thread> m_Threads;
};

}  // namespace

void MakeRacerPages(int16_t count, const std::function<void(int16_t)>& makePage,
                    const std::function<void(int16_t)>& reached, unsigned helpers,
                    const std::function<void()>& meanwhile) {
  cRacerPageRun run(count, makePage);
  int16_t announced = 0;
  const auto announce = [&](int upTo) {
    while (announced < upTo) reached(++announced);
  };
  {
    cHelperThreads threads(run);
    threads.Start(helpers);
    if (meanwhile) meanwhile();
    while (run.MakeNext()) announce(run.Made());
    threads.JoinAll();
  }
  run.RethrowFailure();
  announce(count);
}

unsigned RacerPageHelpers(int16_t count) {
  if (count < kPagesPerHelper) return 0;
  const unsigned cores = UsableCores();
  const auto worthwhile = static_cast<unsigned>(count / kPagesPerHelper);
  return std::min({cores - 1, worthwhile, kMostHelpers});
}
