#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "report/RacerPageRun.h"
#include "sensyu/UsableCores.h"

namespace {

struct cPageFault : std::runtime_error {
  explicit cPageFault(int16_t at) : std::runtime_error("page " + std::to_string(at)), position(at) {}
  int16_t position;
};
struct cReachedFault : std::runtime_error {
  cReachedFault() : std::runtime_error("window closed") {}
};

// Work enough that helpers are still making pages when the window stops the run.
void SlowPage() {
  volatile unsigned sum = 0;
  for (unsigned i = 0; i < 20000; ++i) sum = sum + i;
}

TEST(MakeRacerPages, EveryPageOnceAndReachedInOrderOnTheCallingThread) {
  for (const unsigned helpers : {0u, 3u}) {
    for (const int16_t count : {int16_t{0}, int16_t{1}, int16_t{1000}}) {
      SCOPED_TRACE(testing::Message() << helpers << " helpers, " << count << " pages");
      std::vector<std::atomic<int>> made(static_cast<std::size_t>(count) + 2);
      std::atomic<int> total{0};
      std::vector<int> reached, madeWhenReached;
      bool reachedElsewhere = false;
      const auto caller = std::this_thread::get_id();
      const auto makePage = [&](int16_t i) {
        ++made[static_cast<std::size_t>(std::clamp<int>(i, 0, count + 1))];
        ++total;
      };
      const auto onReached = [&](int16_t i) {
        reached.push_back(i);
        madeWhenReached.push_back(total.load());
        reachedElsewhere |= std::this_thread::get_id() != caller;
      };
      MakeRacerPages(count, makePage, onReached, helpers);
      EXPECT_EQ(made.front().load() + made.back().load(), 0) << "a position outside 1..count";
      ASSERT_EQ(reached.size(), static_cast<std::size_t>(count));
      for (std::size_t i = 1; i <= reached.size(); ++i) {
        ASSERT_EQ(made[i].load(), 1) << "position " << i;
        ASSERT_EQ(reached[i - 1], static_cast<int>(i));
        ASSERT_GE(madeWhenReached[i - 1], static_cast<int>(i));
      }
      EXPECT_FALSE(reachedElsewhere);
    }
  }
}

TEST(MakeRacerPages, RethrowsTheFailureOfTheLowestPosition) {
  struct Row {
    unsigned helpers;
    std::set<int16_t> failing;
  };
  for (const Row& row : {Row{0, {5}}, Row{0, {5, 7}}, Row{3, {200, 300, 900}}, Row{3, {1, 2, 3, 4}}}) {
    SCOPED_TRACE(testing::Message() << row.helpers << " helpers, first failing " << *row.failing.begin());
    std::mutex mutex;
    std::set<int16_t> attempted;
    std::vector<int16_t> reached;
    const auto makePage = [&](int16_t i) {
      if (!row.failing.count(i)) return;
      std::lock_guard lock(mutex);
      attempted.insert(i);
      throw cPageFault(i);
    };
    try {
      MakeRacerPages(1000, makePage, [&](int16_t i) { reached.push_back(i); }, row.helpers);
      ADD_FAILURE() << "no failure came out";
    } catch (const cPageFault& e) {
      // Positions are handed out in order, so the first failing one is always among those attempted.
      EXPECT_EQ(e.position, *row.failing.begin());
    }
    if (row.helpers == 0) {
      EXPECT_EQ(attempted, std::set<int16_t>{*row.failing.begin()});
      EXPECT_EQ(reached.size(), static_cast<std::size_t>(*row.failing.begin() - 1));
    }
  }
}

TEST(MakeRacerPages, FailureOfTheWindowStopsAndJoinsTheHelpers) {
  std::atomic<int> inFlight{0};
  std::vector<int16_t> reached;
  const auto makePage = [&](int16_t) {
    ++inFlight;
    SlowPage();
    --inFlight;
  };
  const auto onReached = [&](int16_t i) {
    reached.push_back(i);
    if (i == 10) throw cReachedFault();
  };
  EXPECT_THROW(MakeRacerPages(2000, makePage, onReached, 3), cReachedFault);
  EXPECT_EQ(inFlight.load(), 0) << "a helper outlived the call";
  ASSERT_EQ(reached.size(), 10u);
  EXPECT_EQ(reached.back(), 10);
}

TEST(RacerPageHelpers, NoneForFewPagesAndAtMostOnePerFurtherCoreUpToSeven) {
  for (const int16_t count : {int16_t{0}, int16_t{1}, int16_t{63}}) EXPECT_EQ(RacerPageHelpers(count), 0u) << count;
  const unsigned cores = UsableCores();
  for (const int16_t count : {int16_t{64}, int16_t{1600}, int16_t{32767}}) {
    EXPECT_LE(RacerPageHelpers(count), cores - 1) << count;
    EXPECT_LE(RacerPageHelpers(count), 7u) << count;
  }
  EXPECT_EQ(RacerPageHelpers(32767), std::min(cores - 1, 7u));
}

}  // namespace
