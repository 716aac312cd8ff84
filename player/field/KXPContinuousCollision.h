#pragma once

// Box2D's continuous collision (no fast body passes through a thin one) works, in each step, on
// the contacts of a moving body with one that stands still or is a bullet: for each time of impact
// it finds, it looks at every contact of the world again. A contact gives at most ten impacts a
// step, so a step's continuous work is at most ten times those contacts times all contacts; it
// grows with the square of the contacts where many bodies are wedged among still ones (sections
// far narrower than what they hold), and a rebuild of the level steps many times in one frame.
// So each step runs with continuous collision only while the work it may do, added to what the
// frame's earlier steps may have done, stays within kWorkPerFrame; the frame's other steps go
// without it. The work is counted, not timed, so that a run repeats exactly.
// The count above is the contacts' share; a moving body wedged among hundreds of still ones (a
// forest of overlapping trees) makes Box2D work out each of its contacts' times of impact again
// after each impact, which the contacts alone do not tell. Box2D counts the times of impact it
// works out: a step that took more than kImpactsPerStep is followed by kRestSteps without
// continuous collision, after which it is tried again.

#include <box2d/box2d.h>

#include <cstdint>

class KXPContinuousCollision {
public:
    // About 120 ms of Box2D's continuous collision on this machine at its slowest measured (the
    // contacts walked from main memory); the densest playable level measured, 2,000 balls heaped in
    // a pit, may do 38 million a step.
    static constexpr uint64_t kWorkPerFrame = uint64_t{1} << 26;
    // Times of impact a contact gives in a step at most: Box2D's sub-steps and the one that finds
    // the contact apart.
    static constexpr uint64_t kImpactsPerContact = 10;
    // Times of impact worked out in one step: the densest playable levels measured take at most
    // 424 (2,000 moths in the garden); a character in a forest of 10,000 trees 8 points apart,
    // 500,000 (some 200 ms).
    static constexpr int32 kImpactsPerStep = 16384;
    // Steps without continuous collision after one that passed kImpactsPerStep: ten seconds.
    static constexpr uint32_t kRestSteps = 600;

    // A new frame: its steps count their work anew.
    void beginFrame() { m_frameWork = 0; }
    // Whether the next step runs with continuous collision; its work is counted when it does.
    bool beforeStep(const b2World& world);
    // After the step: true when it took more than kImpactsPerStep times of impact, the next
    // kRestSteps then going without continuous collision.
    bool afterStep();
    bool resting() const { return m_restLeft > 0; }
    int32 lastImpacts() const { return m_lastImpacts; }

    // At most the work continuous collision does in a step of the world as it stands.
    static uint64_t workOf(const b2World& world);
    uint64_t lastWork() const { return m_lastWork; }

private:
    uint64_t m_frameWork = 0;
    uint64_t m_lastWork = 0;
    int32 m_impactsBefore = 0;
    int32 m_lastImpacts = 0;
    uint32_t m_restLeft = 0;
};
