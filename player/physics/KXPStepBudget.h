#pragma once

// Keeps each physics step's work within a frame whatever the data, and leaves alone every level
// whose step fits. Box2D's step pays for four things that data can grow without bound:
// - contacts: every pair of boxes that overlap, one of them falling, is a contact worked out each
//   step and, touching, solved 6 + 6 times; bodies piled at one point make the square of their
//   number, and making each one walks the contacts its bodies already have;
// - pairs: each box moved since the last step (made, moved by the game, given a new type) and each
//   box moving at a set speed is looked up against every box it overlaps, also those it can never
//   make a contact with (two bodies that stand still, characters among characters);
// - walks: making a pair Box2D walks the contacts of one of its bodies (the one whose box came
//   later) to see whether it has the contact already, each time the pair is found again; a body
//   under thousands of others walks thousands for each of them;
// - times of impact: continuous collision looks at every contact again for each impact
//   (KXPContinuousCollision).
// After the step each character casts its ground rays, which look at every box they cross: a
// crowd of characters at one point (they never collide with one another) pays the square of its
// number there.
// So before each step the budget predicts the contacts the world will hold, the pairs the broad
// phase will look at, the contacts it walks, those continuous collision looks at and the boxes the
// ground rays look at (as many as after the last step, and for a character new to the field the
// boxes it overlaps), and weighs them by what each costs: from counts Box2D keeps while they
// cannot reach the budget (boxes moved times the boxes within their reach, contacts held), else by
// looking up each moved box as Box2D will, stopping once the step and the looks pass the budget,
// and by walking the contact lists. Only when the step would cost more than kMaxWork, far above
// the densest playable level, does it act: the step goes without continuous collision first; if
// the rest alone passes the budget, bodies are held out of the physics (disabled where they stand,
// their objects drawn and updated): those not looked up, then those that add the most work,
// newest first among equals, characters last, until the step is within kRoomWork. A held-out body
// comes back where it then stands once it fits within the room (the margin keeps it from
// flickering in and out), and is collected, hit and moved as before. While bodies are held out the
// pile is kept near the room: a step past kHeldWork goes without continuous collision, then holds
// more out. Counts decide, not time, so that a run repeats exactly. KX_PHYSICS_BOUNDS=off turns it
// off (model/KXPhysicsBounds.h).

#include "player/physics/KXPContinuousCollision.h"
#include "player/physics/KXPStepCensus.h"

#include <box2d/box2d.h>

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

class KXPStepBudget : public b2ContactFilter, public b2DestructionListener {
public:
    // A step predicted to cost more (a frame at 5 frames a second) holds bodies out: 1,600 balls
    // poured into a heap of 108,000 contacts (150 ms a step) come to three quarters of it, 2,000
    // coins pulled onto a hero by the magnet (2 million pairs) to a fifth.
    static constexpr int64_t kMaxWork = 200'000'000;
    // Bodies are held out until the step is within this, and given back while it stays so: a
    // level that kept passing the budget plays at some 15 ms of physics a step.
    static constexpr int64_t kRoomWork = kMaxWork / 16;
    // While bodies are held out, a step predicted past this holds more out: a pile that goes on
    // growing (bodies falling onto it, characters sent into it) stays near the room.
    static constexpr int64_t kHeldWork = kMaxWork / 4;
    // Contacts under which the walks cannot reach a tenth of the budget (each contact walks at
    // most all of them twice).
    static constexpr int64_t kFewContacts = 1024;
    // Steps between walks counted while the contacts do not grow by a quarter (a pile that forms
    // grows them).
    static constexpr uint64_t kWalkSteps = 64;
    // Contacts the world holds at most inside a step, whatever happens in it: a new pair past it
    // gets no contact, and the bodies of such pairs are held out before the next step.
    static constexpr int32 kWorldContacts = static_cast<int32>(2 * kMaxWork / KXPStepWork::kContactCost);
    // Refusals of which one has its walks counted.
    static constexpr int64_t kWalkSample = 64;
    // Moved boxes looked up to tell a step's work from a sample of them (where twice as many moved),
    // and what the sample may tell for it to stand; where it tells more, a sample eight times as
    // large may tell up to kCloserSampleWork: else each box is looked up.
    static constexpr size_t kSampledBoxes = 64;
    static constexpr int64_t kSampleWork = kMaxWork / 2;
    static constexpr int64_t kCloserSampleWork = kMaxWork * 3 / 4;
    // Held-out bodies looked at in one step to give back, oldest first, round and round.
    static constexpr size_t kGiveBackTries = 64;

    // Which bodies go first, which only from a crowd of their own rank (the characters, without
    // which there is no game), and which never (the field's own). The game tells
    // (player/objects/KXPBodyRank.h).
    enum class Rank { first, last, never };
    using RankOf = std::function<Rank(b2Body*)>;

    using Work = KXPStepWork;
    // A body held out or given back, with what it adds where it stands.
    using Said = std::function<void(b2Body* body, const Work& adds, bool heldOut)>;
    // The game's lines: the trace of each, and one log line for each step that holds bodies out.
    static void sayHeldOut(b2Body* body, const Work& adds, bool heldOut);

    explicit KXPStepBudget(RankOf rankOf);
    KXPStepBudget(const KXPStepBudget&) = delete;
    KXPStepBudget& operator=(const KXPStepBudget&) = delete;

    // Becomes the world's destruction listener, and its contact filter unless the bounds are off;
    // the world must not outlive it while it steps.
    void watch(b2World& world);
    // Told of each joint Box2D destroys (with either of its bodies), before it goes.
    using JointGone = std::function<void(b2Joint*)>;
    void onJointGone(JointGone told) { m_jointGone = std::move(told); }
    // The budget watching the body's world (or the world), or null.
    static KXPStepBudget* of(const b2Body* body);
    static KXPStepBudget* of(const b2World& world);

    // A body made or given new shapes (`made`), or whose type changed.
    static void note(b2Body* body, bool made = false);
    // A character's ground ray, cast as the world casts it; the boxes it looks at count toward the
    // caster's part of the next step.
    static void castRay(b2Body* caster, b2RayCastCallback* callback, const b2Vec2& from, const b2Vec2& to);

    // A new frame: its steps (many in a rebuild) share one budget.
    void beginFrame() { m_frameWork = 0; }
    int64_t frameWork() const { return m_frameWork; }
    // Before each step: runs it without continuous collision when that would take it past what is
    // left of the frame's budget, holds bodies out when the rest of its work alone would pass the
    // budget, then gives back those that fit again. Answers whether the step runs with continuous
    // collision.
    bool beforeStep(b2World& world, const Said& said = sayHeldOut);
    // After each step: true when it worked out so many times of impact that the next steps go
    // without continuous collision (KXPContinuousCollision::kRestSteps).
    bool afterStep(const b2World& world);
    const KXPContinuousCollision& continuous() const { return m_continuous; }
    // The prediction's parts, as " key=value" pairs, for the calibration bench's meter.
    std::string parts() const;
    // The work of continuous collision the last beforeStep predicted, in nanoseconds.
    int64_t continuousCost() const { return m_continuousCost; }
    // The work predicted for the coming step by the last beforeStep (after holding out and giving
    // back).
    const Work& predicted() const { return m_predicted; }
    size_t heldOutCount() const { return m_held.size(); }
    bool isHeldOut(const b2Body* body) const;

    // b2ContactFilter: Box2D's own filtering; counts the pairs refused, and makes no contact past
    // kWorldContacts.
    bool ShouldCollide(b2Fixture* fixtureA, b2Fixture* fixtureB) override;
    // b2DestructionListener: a body's fixtures go with it, and so does its record.
    void SayGoodbye(b2Joint* joint) override;
    void SayGoodbye(b2Fixture* fixture) override;

private:
    struct Record {
        uint64_t serial = 0;
        // Its type when last noted.
        b2BodyType type = b2_staticBody;
        bool held = false;
        bool flagged = false;
        // Its place among the kinematic bodies, or -1.
        int kinematicSlot = -1;
        // Its rank, once asked.
        bool ranked = false;
        Rank rank = Rank::first;
        // The step after which it last cast ground rays (0: never), and the boxes they looked at.
        uint64_t rayStep = 0;
        int64_t rays = 0;
    };
    struct Candidate;

    Record& recordOf(b2Body* body);
    Record* find(const b2Body* body);
    void watchKinematic(b2Body* body, Record& record);
    void forget(b2Body* body);
    Rank rankOf(b2Body* body);
    // A character that has cast no ground ray yet: the next step's prediction tells its first.
    bool castsFirstRays(b2Body* body);

    // The coming step's work: from counts when, with continuous collision's, they cannot reach
    // what is left of the frame's budget, else looked up.
    Work predict(const b2World& world, KXPStepCensus& census, int64_t continuousCost);
    // The coming step's work told from a sample of the moved boxes, scaled to them all (false where
    // too few moved to sample).
    bool sample(const b2World& world, const std::vector<b2Body*>& kinematics, int64_t contacts, size_t boxes,
                Work* sampled);
    // Holds out the candidates that add the most, until the step is within room.
    int holdOut(KXPStepCensus& census, const Said& said);
    int giveBack(b2World& world, const Said& said, int64_t continuousCost);
    // With the bounds off and the meter on: predicts, and holds nothing out.
    bool observe(b2World& world);

    RankOf m_rankOf;
    JointGone m_jointGone;
    bool m_observing = false;
    std::unordered_map<const b2Body*, Record> m_records;
    std::vector<b2Body*> m_kinematics;
    // Bodies noted as falling (dynamic): a box that does not fall makes contacts only with theirs.
    int64_t m_falling = 0;
    std::vector<b2Body*> m_movingKinematics;
    // Held out, oldest first; the next to look at for giving back.
    std::vector<b2Body*> m_held;
    size_t m_nextGiveBack = 0;
    std::vector<b2Body*> m_flagged;
    Work m_predicted;
    uint64_t m_nextSerial = 1;
    // Pairs refused by the filter in this step and in the last (each found again whenever one of
    // its boxes moves).
    int64_t m_refused = 0;
    int64_t m_refusedLast = 0;
    // The contacts Box2D walked for them, told from one refusal in kWalkSample.
    int64_t m_refusedWalks = 0;
    int64_t m_refusedWalksLast = 0;
    // The walks last counted, and the contacts then; steps so far.
    int64_t m_walks = 0;
    int64_t m_walksAt = 0;
    // The longest contact list then, and the contacts made since.
    int64_t m_longestList = 0;
    int64_t m_madeSince = 0;
    // The boxes the census looked at for this step.
    int64_t m_looks = 0;
    // The boxes ground rays looked at after the last step and after this one so far, and the
    // bodies that cast them (each once).
    int64_t m_raysLast = 0;
    int64_t m_rays = 0;
    std::vector<b2Body*> m_castersLast;
    std::vector<b2Body*> m_casters;
    uint64_t m_step = 0;
    int64_t m_frameWork = 0;
    // Whether the last prediction was looked up, else a bound from counts, which stands far above
    // what most steps cost: the frame then counts the contacts held and the walks.
    bool m_counted = false;
    Work m_boundedSpend;
    KXPContinuousCollision m_continuous;
    int64_t m_continuousCost = 0;
};
