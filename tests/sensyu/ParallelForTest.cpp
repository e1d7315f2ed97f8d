#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/ParallelFor.h"

namespace {

// Every piece once; the window hears of them in order, on this thread only.
TEST(ParallelFor, DoesEveryPieceOnceAndReportsInOrderOnTheCallingThread) {
  for (unsigned helpers : {0u, 1u, 7u}) {
    std::vector<std::atomic<int>> done(500);
    std::vector<std::size_t> reached;
    bool meanwhile = false;
    const auto caller = std::this_thread::get_id();
    ParallelFor(done.size(), helpers, [&](std::size_t i) { ++done[i]; },
                [&](std::size_t n) {
                  EXPECT_EQ(std::this_thread::get_id(), caller);
                  reached.push_back(n);
                },
                [&] { meanwhile = true; });
    for (const auto& d : done) ASSERT_EQ(d, 1);
    ASSERT_EQ(reached.size(), done.size());
    for (std::size_t n = 0; n < reached.size(); ++n) ASSERT_EQ(reached[n], n + 1);
    EXPECT_TRUE(meanwhile);
  }
}

// The pieces are shared out: with helpers, more than one thread does them.
TEST(ParallelFor, SharesThePiecesWithTheHelpers) {
  std::mutex mutex;
  std::set<std::thread::id> threads;
  ParallelFor(40, 3, [&](std::size_t) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    std::lock_guard lock(mutex);
    threads.insert(std::this_thread::get_id());
  });
  EXPECT_GT(threads.size(), 1u);
}

// The failure told is the one of the lowest piece, as a run on one thread would meet it.
TEST(ParallelFor, RethrowsTheLowestFailureAfterEveryHelperStopped) {
  std::atomic<int> running{0};
  const auto work = [&](std::size_t i) {
    ++running;
    std::this_thread::sleep_for(std::chrono::microseconds(50));
    --running;
    if (i == 40 || i == 300) throw std::runtime_error(std::to_string(i));
  };
  try {
    ParallelFor(400, 3, work);
    FAIL() << "no failure rethrown";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "40");
  }
  EXPECT_EQ(running, 0);
  // Pieces 0..39 all succeed: here the window's report is what fails.
  EXPECT_THROW(ParallelFor(40, 3, work, [](std::size_t n) { if (n == 5) throw std::logic_error("window"); }),
               std::logic_error);
  EXPECT_EQ(running, 0);
}

}  // namespace
