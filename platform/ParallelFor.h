#pragma once
#include <cstddef>
#include <functional>

/// Helper threads worth starting for `items` pieces of work when each helper
/// should have at least `perHelper` of them: one per further usable core, at
/// most 7 (beyond that they only queue up at the file system).
unsigned HelpersFor(std::size_t items, std::size_t perHelper);

/// Runs work(i) for every i in [0, count) on this thread and up to `helpers`
/// more, each taking the next unclaimed i in order; `work` must be safe to run
/// on several threads at once. `meanwhile` runs first on this thread while the
/// helpers start. `reached(n)` runs on this thread only, for n = 1..count in
/// order, once at least n pieces are done: it is where the caller talks to the
/// window. The first failure (the lowest i) stops the run and is rethrown here
/// after every helper has stopped; a thread the system refuses leaves its
/// share to this one.
void ParallelFor(std::size_t count, unsigned helpers, const std::function<void(std::size_t)>& work,
                 const std::function<void(std::size_t)>& reached = {}, const std::function<void()>& meanwhile = {});
