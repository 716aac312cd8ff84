// The run loop's pacing: deadlines one interval apart, jitter made up, stalls not.
#include <gtest/gtest.h>

#include "view/CCFramePacer.h"

using cocos2d::CCFramePacer;

namespace {

constexpr int64_t kInterval = 16666667; // 1/60 s in nanoseconds

TEST(FramePacing, DeadlinesFollowTheScheduleNotTheFrames) {
    // A frame that ended early or just late still leaves the next deadline one interval on,
    // so that a second of frames is a second however long each took.
    int64_t deadline = 1000;
    for (int frame = 0; frame < 600; ++frame) {
        const int64_t now = deadline + (frame % 3 == 0 ? 5000000 : -4000000) + kInterval;
        deadline = CCFramePacer::nextDeadline(deadline, now, kInterval);
    }
    EXPECT_EQ(deadline, 1000 + 600 * kInterval);
}

TEST(FramePacing, AFrameLateByLessThanAnIntervalIsMadeUpByTheNext) {
    const int64_t due = 1000 + kInterval;
    const int64_t next = CCFramePacer::nextDeadline(1000, due + kInterval - 1, kInterval);
    EXPECT_EQ(next, due);
}

TEST(FramePacing, AStallStartsTheScheduleAgainWithoutABurst) {
    const int64_t due = 1000 + kInterval;
    for (int64_t stall : {kInterval, 3 * kInterval, 1000 * kInterval}) {
        const int64_t now = due + stall;
        // Due at once, and the frames after it one interval apart from there.
        EXPECT_EQ(CCFramePacer::nextDeadline(1000, now, kInterval), now);
    }
}

TEST(FramePacing, AnIntervalThatIsNotPositiveDoesNotWait) {
    EXPECT_EQ(CCFramePacer::nextDeadline(1000, 5000, 0), 5000);
    EXPECT_EQ(CCFramePacer::nextDeadline(1000, 5000, -kInterval), 5000);

    CCFramePacer pacer;
    pacer.start();
    const int64_t before = CCFramePacer::now();
    pacer.waitForNextFrame(0.0);
    EXPECT_GE(pacer.deadline(), before);
    pacer.waitForNextFrame(-1.0);
    pacer.waitForNextFrame(1e9);
    EXPECT_LE(pacer.deadline(), CCFramePacer::now());
}

TEST(FramePacing, TheWaitEndsNoEarlierThanTheDeadline) {
    CCFramePacer pacer;
    pacer.start();
    const int64_t start = pacer.deadline();
    for (int frame = 1; frame <= 3; ++frame) {
        pacer.waitForNextFrame(0.002);
        EXPECT_GE(CCFramePacer::now(), pacer.deadline());
        EXPECT_GE(pacer.deadline(), start + frame * 2000000);
    }
}

} // namespace
