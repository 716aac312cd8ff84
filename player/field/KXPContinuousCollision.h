#pragma once

// Box2D's continuous collision (no fast body passes through a thin one) works out, for each time
// of impact it finds in a step, the bodies involved and then looks at every contact of the world
// again. Playable levels find a few dozen impacts a step; bodies wedged among many that stand
// still (sections far narrower than what they hold) find thousands, and a step then takes longer
// than a frame may. So the field measures each step's continuous work (the contact updates it
// made, times the world's contacts) and steps without continuous collision while that would
// break the frame: after a step whose work passed kWorkPerFrame, until the contacts have halved
// or kRestSteps steps have gone by; and, in a frame that steps many times (a rebuild of the
// level), once the frame's steps together have done that much. Work is counted, not timed, so
// that a run repeats exactly.

#include <box2d/box2d.h>

#include <cstdint>

class KXPContinuousCollision {
public:
    // About 25 ms of Box2D's continuous collision on this machine; the densest playable levels
    // measured reach a fortieth of it.
    static constexpr uint64_t kWorkPerFrame = uint64_t{1} << 25;
    static constexpr unsigned int kRestSteps = 600;

    // A new frame: the steps that follow count their work anew.
    void beginFrame() { m_frameWork = 0; }
    // Whether the next step runs with continuous collision.
    bool beforeStep(const b2World& world);
    // The work of the step just taken: `updates` contact updates after the step's own solve.
    // Answers true when it turned continuous collision off.
    bool afterStep(const b2World& world, uint64_t updates);

    bool isOn() const { return m_on; }
    uint64_t lastWork() const { return m_lastWork; }

private:
    bool m_on = true;
    uint64_t m_frameWork = 0;
    uint64_t m_lastWork = 0;
    int32 m_contactsWhenOff = 0;
    unsigned int m_stepsOff = 0;
};
