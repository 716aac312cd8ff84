#pragma once

// The one clock the player reads. By default the system's: calendar time for what is kept across
// runs (refill timers) and a steady clock for durations (the launch, hit protection, swipes),
// which a change of the system time cannot upset. A run that must repeat (kxsim, tests) replaces
// it in one call; every reading then comes from its function.

#include <functional>

class KXPClock {
public:
    // Seconds.
    using Source = std::function<double()>;

    // Seconds since 1970.
    static double calendarSeconds();
    // Seconds from an arbitrary moment, never going back; only differences mean anything.
    static double steadySeconds();

    // Both readings from `source` from now on; an empty one restores the system's clocks.
    static void replace(Source source);
};
