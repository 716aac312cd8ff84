// Paces the run loop to the animation interval. Every frame has an absolute deadline on the
// monotonic clock, one interval after the previous one, and the loop sleeps until it
// (clock_nanosleep with TIMER_ABSTIME wakes well within a millisecond on Linux, so nothing
// spins). Deadlines keep the rate exact however long each frame or sleep took: a frame that
// ran past its deadline by less than an interval is made up by the next one; after a longer
// stall the schedule starts again from now, so that no burst of frames follows it.
#pragma once

#include <cstdint>

#include "base/ccMacros.h"

NS_CC_BEGIN

class CCFramePacer {
public:
    // Nanoseconds on the monotonic clock.
    static int64_t now();

    // Starts the schedule: the first wait ends one interval from now.
    void start();
    // Sleeps until the next frame is due (at once when it is already due). An interval that is
    // not positive does not wait and starts the schedule again.
    void waitForNextFrame(double intervalSeconds);
    // The deadline the last wait slept to.
    int64_t deadline() const { return m_deadline; }

    // The deadline after `previous`, the time being `now` (nanoseconds of one clock).
    static int64_t nextDeadline(int64_t previous, int64_t now, int64_t interval);

private:
    int64_t m_deadline = 0;
};

NS_CC_END
