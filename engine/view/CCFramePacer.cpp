#include "view/CCFramePacer.h"

#include <cerrno>
#include <ctime>

NS_CC_BEGIN

namespace {

constexpr int64_t kNanosecondsPerSecond = 1000000000;

} // namespace

int64_t CCFramePacer::now() {
    timespec time{};
    ::clock_gettime(CLOCK_MONOTONIC, &time);
    return static_cast<int64_t>(time.tv_sec) * kNanosecondsPerSecond + time.tv_nsec;
}

void CCFramePacer::start() {
    m_deadline = now();
}

int64_t CCFramePacer::nextDeadline(int64_t previous, int64_t now, int64_t interval) {
    if (interval <= 0) {
        return now;
    }
    const int64_t next = previous + interval;
    // More than a whole interval behind: a stall, not jitter; making it up would run a burst.
    return now - next >= interval ? now : next;
}

void CCFramePacer::waitForNextFrame(double intervalSeconds) {
    // Ten seconds at most, as the application accepts.
    const bool valid = intervalSeconds > 0.0 && intervalSeconds < 10.0;
    const int64_t interval =
        valid ? static_cast<int64_t>(intervalSeconds * static_cast<double>(kNanosecondsPerSecond) + 0.5) : 0;
    m_deadline = nextDeadline(m_deadline, now(), interval);
    timespec until{};
    until.tv_sec = static_cast<time_t>(m_deadline / kNanosecondsPerSecond);
    until.tv_nsec = static_cast<long>(m_deadline % kNanosecondsPerSecond);
    // A signal handler's interruption goes back to sleep; a deadline already past returns at once.
    while (::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
}

NS_CC_END
