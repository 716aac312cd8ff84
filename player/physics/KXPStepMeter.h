#pragma once

// Measures each physics step against what the step budget predicted for it, for the calibration
// bench (bench/kxsim_step_calibration.sh): with KX_STEP_METER=FILE in the environment the field
// appends one line a step to FILE,
//
//   S=<step> F=<frame> measured=<ns> step=<ns> rays=<ns> budget=<ns> predicted=<ns> acts=<0|1> ...
//
// measured being the thread's CPU time in b2World::Step and in the characters' ground rays after it,
// budget the time of the budget's own work, its prediction before the step and its count after it
// (on the monotonic clock, or the thread's CPU time where a reading is long: below), predicted what
// it predicted, acts whether that passes the budget; then the prediction's parts and counts read off
// the world before and after the step (what Box2D did, for weighing the parts), none of which the
// measured times include. With KX_STEP_METER_LIGHT set too, a line holds only the times, the
// prediction and its parts: no walk over the world, so that the frames of the largest worlds can be
// timed with it on. Without the variable nothing is measured. Time never decides anything in
// the player: only this bench reads it.

#include <box2d/box2d.h>

#include <cstdint>
#include <cstdio>
#include <string>

class KXPStepMeter {
public:
    // The process's meter, or null when KX_STEP_METER names no file (read once).
    static KXPStepMeter* active();
    // The calling thread's CPU time, in nanoseconds.
    static int64_t threadNanos();
    // The thread's CPU time since `start` (a threadNanos()), less what reading the clock itself costs.
    int64_t since(int64_t start) const;
    // The budget's work (its prediction, its count after the step) takes a few microseconds on a
    // small world, less than the thread clock's own jitter (a system call, some hundreds of
    // nanoseconds here): it is read on the monotonic clock, a few tens of nanoseconds a reading. That
    // can only overstate it (a thread preempted inside counts the wait), so a reading long enough
    // for the jitter not to matter takes the thread's CPU time instead, where that is less. Only in
    // a world of more than kCpuTimedBodies: a small world's prediction takes some hundred
    // nanoseconds, which the system call just before it would slow by a tenth.
    struct Mark {
        int64_t cpu = -1;
        int64_t monotonic = 0;
    };
    static constexpr int64_t kCpuTimedFrom = 20000;
    static constexpr int32 kCpuTimedBodies = 128;
    static Mark mark(const b2World& world);
    int64_t budgetSince(const Mark& start) const;

    // Around the budget's prediction and its count after the step, Box2D's step, and each ground ray
    // after it.
    void addBudget(int64_t nanos) { m_budget += nanos; }
    void addRays(int64_t nanos) { m_rays += nanos; }
    // Counts read before the step (outside the times measured).
    void beforeStep(const b2World& world);
    void stepped(int64_t nanos) { m_step += nanos; }
    // Writes the step's line: `parts` are the prediction's own, as " key=value" pairs.
    void finishStep(const b2World& world, uint32_t frame, int64_t predicted, bool acts,
                    const std::string& parts);

private:
    KXPStepMeter(std::FILE* file, bool light);
    static int64_t readingCost(int64_t (*clock)());
    static int64_t monotonicNanos();
    int64_t sinceMonotonic(int64_t start) const;

    std::FILE* m_file;
    const bool m_light;
    // What a reading of each clock costs, measured once.
    int64_t m_clockCost = 0;
    int64_t m_monotonicCost = 0;
    uint64_t m_steps = 0;
    int64_t m_budget = 0;
    int64_t m_rays = 0;
    int64_t m_step = 0;
    // Before the step: contacts, those touching (not sensors), the boxes Box2D will look up first,
    // Box2D's count of times of impact.
    int64_t m_contacts = 0;
    int64_t m_touching = 0;
    int64_t m_sensing = 0;
    int64_t m_pages = 0;
    int64_t m_jumps = 0;
    int64_t m_moved = 0;
    int64_t m_startPairs = 0;
    int64_t m_startWalks = 0;
    int64_t m_startMade = 0;
    int32 m_toiCalls = 0;
};
