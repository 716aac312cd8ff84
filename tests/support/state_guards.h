// Guards for the process-wide state a test replaces: each puts back what was there before when
// it goes, whatever the test did, so that the next test in the same process starts as the
// first one would. Every test executable runs whole in one process, in any order.
#pragma once

#include <utility>

#include "player/base/KXPClock.h"

namespace kxtest {

// The player's clock from `source`; the system's again afterwards.
class ScopedClock {
public:
    explicit ScopedClock(KXPClock::Source source) { KXPClock::replace(std::move(source)); }
    ~ScopedClock() { KXPClock::replace(nullptr); }
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;
};

} // namespace kxtest
