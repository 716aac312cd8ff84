#pragma once

// Box2D's continuous collision (no fast body passes through a thin one) finds, in each step, the
// times of impact of moving bodies with still ones (and of bullets), one after another: for each
// impact it looks at every contact of the world again, some 15 ns each here. Bodies that keep
// bouncing among still ones (a pile on a floor, a section far narrower than what it holds) make
// hundreds of impacts over tens of thousands of contacts: a tenth of a second a step. A step's
// impacts are not known before it: those of the last step that ran with continuous collision
// tell the next. Box2D counts the times of impact it works out: one for each contact that may
// have one, then again for the contacts of the bodies each impact moves; so a step's impacts are
// at most its times of impact less those contacts, and were at most about half of them in every
// level measured (some 3,000 characters in portals work out 3,300 times of impact for 15 impacts). The step
// budget (player/physics/KXPStepBudget) weighs this with the rest of the step's work and runs the step
// without continuous collision when it would pass the frame's. A step that worked out more than
// kImpactsPerStep times of impact (a character in a forest of overlapping trees: millions, whatever the
// contacts) is followed by kRestSteps without, then it is tried again. While steps go without it, the last
// count wanes by an eighth a step, so that it is tried again once the world may have calmed down. Counts
// decide, not time, so that a run repeats exactly.

#include <box2d/box2d.h>

#include <cstdint>

class KXPContinuousCollision {
public:
    // Nanoseconds a contact costs the first time continuous collision looks at it in a step (it
    // reads the contact's bodies and shapes), and each time again for an impact.
    static constexpr int64_t kFirstVisitCost = 250;
    static constexpr int64_t kVisitCost = 15;
    // Predicted looks (some 50 ms) above which the impacts are bounded by the contacts that may
    // have one (a walk over the contacts, after such a step only).
    static constexpr int64_t kCloserLookVisits = 3000000;
    // Impacts a contact of a still body that came since the last step counts (at most ten: Box2D's
    // sub-steps and the one that finds it apart; a body landing makes one).
    static constexpr int64_t kImpactsOfANewContact = 3;
    // Times of impact worked out in one step: the densest playable levels measured take at most
    // 424 (2,000 moths in the garden); a character in a forest of 10,000 trees 8 points apart,
    // 500,000 (some 200 ms).
    static constexpr int32 kImpactsPerStep = 16384;
    // Steps without continuous collision after one that passed kImpactsPerStep: ten seconds.
    static constexpr uint32_t kRestSteps = 600;

    // The contacts the coming step's continuous collision would look at, and what that costs.
    int64_t predictedVisits(const b2World& world);
    int64_t predictedCost(const b2World& world);
    // The contacts of bodies that stand still, move at a set speed or are bullets that may have a
    // time of impact.
    static int64_t contactsOfStillBodies(const b2World& world);
    bool resting() const { return m_restLeft > 0; }
    // Around each step, which runs with continuous collision or not.
    void beforeStep(bool continuous);
    // true when the step worked out more than kImpactsPerStep times of impact: the next kRestSteps
    // go without continuous collision.
    bool afterStep(const b2World& world);
    // The contacts of the world Box2D works out a time of impact for in a step.
    static int64_t contactsWithImpacts(const b2World& world);
    int32 lastImpacts() const { return m_lastImpacts; }

private:
    // The impacts of the last step that ran with continuous collision, at most.
    int64_t m_impacts = 0;
    int32 m_impactsBefore = 0;
    // The contacts of still bodies when last counted, and when the last step that ran it began.
    int64_t m_stillContacts = 0;
    int64_t m_stillContactsSeen = 0;
    int32 m_lastImpacts = 0;
    bool m_continuous = false;
    uint32_t m_restLeft = 0;
};
