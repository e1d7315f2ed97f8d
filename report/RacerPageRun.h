#pragma once
#include <cstdint>
#include <functional>

/// Makes the racer pages of positions 1..count on this thread and on helper
/// threads (one per further processor core), since building and writing tens
/// of thousands of small pages is most of a run. `meanwhile` runs first on
/// this thread while the helpers start on the pages. `reached(i)` is called on
/// this thread only, for i = 1..count in order, once at least i pages are made;
/// it is where the caller talks to the window. `makePage` must be safe to call
/// from several threads at once. The first failure (the lowest position) stops
/// the run and is rethrown here after every helper has stopped; pages that
/// other threads were already making may still be written.
void MakeRacerPages(int16_t count, const std::function<void(int16_t)>& makePage,
                    const std::function<void(int16_t)>& reached, unsigned helpers,
                    const std::function<void()>& meanwhile = {});

/// Helper threads worth starting on this machine for a run of `count` pages.
unsigned RacerPageHelpers(int16_t count);
