#pragma once

// Keeps each physics step's work within a frame whatever the data, and leaves alone every level
// whose step fits. Before each step it predicts what Box2D will pay for in it (KXPStepWork), from
// what Box2D will do in this step:
// - the contacts it updates, those it solves (touching) and the sensors it tests, every body and
//   each moving one, the joints: counts kept as they change (KXPStepContacts, the bodies noted);
// - the first pairing: every box moved since the last step (made, laid, enabled, moved by the game,
//   given back), looked up as Box2D will pair it (KXPStepCensus), each as far as a crowd's boxes;
//   a crowd's sample is looked up whole and gives the rest its average;
// - the last pairing: the boxes the moving bodies will carry beyond their margins in the step (each
//   moving body's box at the place its speed takes it to, against the margin Box2D keeps), looked up
//   with the contacts they find again (a sample of the moving bodies where many move);
// - continuous collision, from what it did in the last step that ran it (KXPContinuousCollision);
// - the characters' ground rays after the step, as many boxes as they looked at after the last
//   one; a character's first rays look at what they cross, capped by what is left of the frame.
// Each is weighed by what it costs Box2D here (measured: bench/kxsim_step_calibration.sh). A step
// whose quick count (the counts kept, the first pairing, the last step's pairing and impacts) stands
// far below the budget goes at once; only one that comes near is counted closer. The budget's own
// looks count toward the step, and stay within kStepLooks whatever the world holds.
//
// Only when the step would cost more than kMaxWork, or pass what Box2D itself can hold (the pairs of
// one pairing, the contacts: kPairLimit, kWorldContacts), does it act: the step goes without
// continuous collision first; if the rest alone passes the budget, bodies of the crowd that makes
// the work are held out of the physics (disabled where they stand, their objects drawn and
// updated): dynamic bodies first, those in contact or pairing in this step, the most work first,
// the newest first among equals, characters last, until the step is within kRoomWork. Only where
// the step stays past the budget with those held do the still and kinematic bodies of the crowd go,
// the ground last (KXPHoldOrder). Never one that touches and pairs with nothing. A held-out body
// comes back where it then stands once it fits within the room (the margin keeps it from flickering
// in and out), and is not held again while its crowd has not grown, unless the step passes the
// budget. While bodies are held out the pile is kept near the room: a step past kHeldWork goes
// without continuous collision, then holds more out. A body whose boxes would pass what Box2D's
// tree may hold (kWorldBoxes) waits outside the physics until there is room. Counts decide, not
// time, so that a run repeats exactly. KX_PHYSICS_BOUNDS=off turns it off (model/KXPhysicsBounds.h);
// with the calibration bench's meter on it then predicts and never acts.

#include "player/physics/KXPBatchedDisable.h"
#include "player/physics/KXPBodyList.h"
#include "player/physics/KXPContinuousCollision.h"
#include "player/physics/KXPStepCensus.h"
#include "player/physics/KXPStepContacts.h"
#include "player/physics/KXPStepWork.h"

#include <box2d/box2d.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

class KXPStepBudget : public b2ContactFilter, public b2DestructionListener {
public:
    // A step predicted to cost more (a frame at 5 frames a second) holds bodies out.
    static constexpr int64_t kMaxWork = 200'000'000;
    // Bodies are held out until the step is within this, and given back while it stays so.
    static constexpr int64_t kRoomWork = kMaxWork / 16;
    // While bodies are held out, a step predicted past this holds more out: a pile that goes on
    // growing (bodies falling onto it, characters sent into it) stays near the room.
    static constexpr int64_t kHeldWork = kMaxWork / 4;
    // A step whose quick count passes this is counted closer.
    static constexpr int64_t kCloserWork = 2'000'000;
    // Moved boxes and moving bodies looked at to tell a step's pairings where more moved: one in
    // kQuickShare of them (a few percent of what Box2D pays for each), or kSampled where the step
    // comes close.
    static constexpr size_t kSampled = 64;
    static constexpr size_t kQuickShare = 32;
    // The quick count's sample of moving bodies costs at most a kSampleShare-th of the step it tells
    // of, once it has tried kLeastTries of them (fewer tell nothing): a body tried costs about
    // kTryCost nanoseconds (its body, shapes and boxes mostly out of the cache in a large world),
    // each box its look-up meets about kMetCost, each contact of a list it walks about kListedCost.
    static constexpr int64_t kSampleShare = 50;
    static constexpr size_t kLeastTries = 8;
    // Past its least tries, the sample stops once it has looked at this many boxes, whatever the
    // step (a crowd of tens of thousands moving at one point); each body tried looks at no more
    // than KXPStepCensus::kCarriedBoxes (then told by the boxes the world holds).
    static constexpr int64_t kSampleLooks = 1 << 20;
    static constexpr int64_t kTryCost = 500;
    static constexpr int64_t kMetCost = 12;
    static constexpr int64_t kListedCost = 60;
    // What a sample that tried `tried` moving bodies, met `met` boxes and walked `listed` contacts
    // costs, in nanoseconds.
    static int64_t sampleCost(size_t tried, int64_t met, int64_t listed);
    // A world of so few boxes cannot pair its way near the budget (each pairing with every other,
    // each pair walking a list of them all, stays within milliseconds): it is not looked up, the
    // last step's pairing telling the next's, so that the budget costs it next to nothing.
    static constexpr int32 kFewBoxes = 128;
    // Boxes moved since the last step times the world's boxes, up to which the first pairing is not
    // looked up.
    static constexpr int64_t kFewPairs = 4096;
    // The first pairing's look-ups: every box of the move buffer, as far as kCrowdBoxes boxes it
    // meets (a box that meets more is one of a crowd), while the looks stay within kFirstLooks (some
    // hundred thousand boxes laid at once, each some tens of looks down the tree: past it the rest
    // take the average of a fair sample of them, and no body is held for them); a crowd's sample,
    // looked up whole, within kCrowdLooks. Some tens of milliseconds at most, in the frame that lays
    // them, which takes seconds.
    static constexpr int64_t kCrowdBoxes = 64;
    static constexpr int64_t kFirstLooks = 1 << 22;
    static constexpr int64_t kCrowdLooks = 1 << 18;
    // Boxes and contacts the budget looks at, at most, to tell each body's share of a step it acts on
    // (some tens of milliseconds); past them a body is told by what it adds to the first pairing.
    static constexpr int64_t kActLooks = 2'000'000;
    // What laying a body's object costs the game besides the physics (its node, its look, its
    // shapes): thousands of characters laid at one point took some tens of microseconds each. It
    // counts toward what is left of the frame for the characters' first rays, so that a frame that
    // lays them does not spend a whole budget on their rays besides. Charged for each shape made, a
    // shape changed too (a few a frame: a few hundredths of a millisecond).
    static constexpr int64_t kLaidCost = 20'000;
    // Boxes a character's ray may still look at once the frame's rays are spent, from a grace of
    // kRoomWork's worth a frame: a ray clear of any crowd ends within them, so that a character far
    // from a crowd whose rays spent the frame goes on playing; one that passes them waits outside.
    static constexpr int64_t kRayGrace = 64;
    // Characters that stay once those of them not yet held add no more than this (a few far from
    // the crowd, the player's own among them), however far the still bodies keep the step past the
    // budget: a sixteenth of the room (0.8 ms), the rays and contacts of some hundreds of them.
    static constexpr int64_t kSpareWork = kRoomWork / 16;
    // Held-out bodies looked at in one step to give back, oldest first, round and round, while the
    // boxes they overlap come to a fiftieth of the room, and until kGiveBackMisses of them did not
    // fit (the bodies of a held crowd are alike: where one does not fit, the next seldom does).
    static constexpr size_t kGiveBackTries = 64;
    static constexpr size_t kGiveBackMisses = 4;
    static constexpr int64_t kGiveBackLooks = kRoomWork / 50 / KXPStepWork::kLookCost;
    // Contacts the world holds at most inside a step, whatever happens in it: a new pair past it gets
    // no contact, and the bodies of such pairs are held out before the next step. A step foreseen to
    // make more holds bodies out before it.
    static constexpr int32 kWorldContacts = static_cast<int32>(2 * kMaxWork / KXPStepWork::kTouchingCost);
    // Pairs one pairing may find: Box2D keeps them in one buffer whose size in bytes it works out as
    // a 32-bit int, which wraps past 262,343,953 pairs (2 GB); this many take 128 MB, and a step
    // that finds them takes seconds. A step foreseen to find more in either pairing holds bodies
    // out before it.
    static constexpr int64_t kPairLimit = int64_t{1} << 24;
    // Boxes the world holds at most: Box2D's tree doubles its nodes in memory it sizes as a 32-bit
    // int too. A body whose shapes would pass it stays out of the physics until there is room.
    static constexpr int32 kWorldBoxes = 1 << 20;
    // What the budget looks at in one step, at most, whatever the world holds: the caps of its
    // counts together (the first pairing's boxes, those the game moved counted again where it acts,
    // the crowds' and the pool's samples, the quick and closer samples of the moving bodies, holding
    // out, giving back, the boxes that came while it acted, each passing its cap by one body's
    // look-up at most, a sample by the eight it takes at least, every look-up there following
    // kCarriedBoxes at most) and the contact lists they walk, each once: some seventeen million.
    // Some tens of milliseconds a step that acts on a crowd of tens of thousands; a valid level's
    // step looks at a few thousand.
    static constexpr int64_t kStepLooks =
        2 * kFirstLooks + 4 * kCrowdLooks + 2 * kSampleLooks + kActLooks + kGiveBackLooks +
        5 * KXPStepCensus::kCarriedBoxes +
        4 * KXPStepCensus::kLeastCrowdSample * KXPStepCensus::kCarriedBoxes + 2 * int64_t{kWorldContacts};

    // Which bodies may go first, which only from a crowd of their own rank (the characters, without
    // which there is no game), and which never (the field's own). The game tells
    // (player/objects/KXPBodyRank.h); static and kinematic bodies go only past the budget with every
    // dynamic body of the crowd held (KXPHoldOrder).
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

    // Becomes the world's destruction listener, and, unless the bounds are off, its contact filter
    // and the first to hear its contacts (the world's listener set before is passed every call);
    // the world must not outlive it while it steps.
    void watch(b2World& world);
    // Told of each joint Box2D destroys (with either of its bodies), before it goes.
    using JointGone = std::function<void(b2Joint*)>;
    void onJointGone(JointGone told) { m_jointGone = std::move(told); }
    // The budget watching the body's world (or the world), or null.
    static KXPStepBudget* of(const b2Body* body);
    static KXPStepBudget* of(const b2World& world);

    // A body made or given new shapes (`made`: its boxes enter the physics), or whose type changed.
    static void note(b2Body* body, bool made = false);
    // A body the game puts somewhere else at once (a teleport): its boxes enter the crowd they land
    // in, and the next step's first pairing counts each of them.
    static void noteEntering(b2Body* body);
    // A body the game is about to destroy: Box2D tells the budget of each of its fixtures as they go,
    // and of a body without any (its shapes taken away while it was held) nothing.
    static void bodyGoing(b2Body* body);
    // Whether a body's world has room for `boxes` more boxes (kWorldBoxes); a body that would pass it
    // is held out before its shapes are made.
    static bool roomForBoxes(b2Body* body, int32 boxes);
    // The boxes the world may hold: kWorldBoxes unless told fewer (a test's world).
    void limitBoxes(int32 boxes) { m_worldBoxes = std::min(boxes, kWorldBoxes); }
    // A character's ground ray, cast as the world casts it; the boxes it looks at count toward the
    // frame. false when it was not cast: its body is held out, or its first rays would pass what is
    // left of the frame (it is then held out).
    static bool castRay(b2Body* caster, b2RayCastCallback* callback, const b2Vec2& from, const b2Vec2& to);

    // A new frame: its steps (many in a rebuild) share one budget.
    void beginFrame();
    int64_t frameWork() const { return m_frameWork; }
    // Before each step of `dt` seconds: runs it without continuous collision when that would take it
    // past what is left of the frame's budget, holds bodies out when the rest of its work alone would
    // pass the budget, then gives back those that fit again. Answers whether the step runs with
    // continuous collision.
    bool beforeStep(b2World& world, const Said& said = sayHeldOut, float dt = 1.0f / 60.0f);
    // After each step: true when it worked out so many times of impact that the next steps go
    // without continuous collision (KXPContinuousCollision::kRestSteps).
    bool afterStep(const b2World& world);
    const KXPContinuousCollision& continuous() const { return m_continuous; }
    // The work of continuous collision the last beforeStep predicted, in nanoseconds, and what was
    // left of the frame's budget (or the held pile's) for the step with it.
    int64_t continuousCost() const { return m_continuousWork.cost(); }
    int64_t frameLeft() const { return m_frameLeft; }
    // The work predicted for the coming step by the last beforeStep (after holding out and giving
    // back), and what it foresaw before it acted; continuous collision aside in both.
    const Work& predicted() const { return m_predicted; }
    int64_t foreseen() const { return m_foreseen; }
    size_t heldOutCount() const { return m_held.size(); }
    // Whether the last step it foresaw passed the budget (before it acted): a level laying more
    // bodies then would add to what passes it. Never while it only observes for the meter, which
    // measures the game as it plays with the bounds off.
    bool passesBudget() const { return !m_observing && m_foreseen > kMaxWork; }
    // The boxes the budget looked at itself for the last step.
    int64_t looks() const { return m_looks; }
    bool isHeldOut(const b2Body* body) const;
    // The prediction's parts, as " key=value" pairs, for the calibration bench's meter.
    std::string parts() const;

    // b2ContactFilter: Box2D's own filtering; makes no contact past kWorldContacts.
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
        // Its places in the held and flagged lists, while in them.
        size_t heldPlace = 0;
        size_t flaggedPlace = 0;
        // Its place among the moving bodies, or -1.
        int moverSlot = -1;
        // Its rank, once asked.
        bool ranked = false;
        Rank rank = Rank::first;
        // The step after which it last cast ground rays (0: never), and the boxes they looked at.
        uint64_t rayStep = 0;
        int64_t rays = 0;
        // Given back since it was last held: the contacts it came back to, and how many bodies had
        // come back before it (those that came back after it lengthen its list without its crowd
        // growing).
        bool returned = false;
        int64_t returnedContacts = 0;
        uint64_t returnedAt = 0;
    };
    struct Shares;

    Record& recordOf(b2Body* body);
    Record* find(const b2Body* body);
    void watchMoving(b2Body* body, Record& record);
    void forget(b2Body* body);
    Rank rankOf(b2Body* body);
    bool cast(b2Body* caster, b2RayCastCallback* callback, const b2Vec2& from, const b2Vec2& to);

    // The counts kept, the last step's rays, and the pairings from a sample of the boxes moved and of
    // the moving bodies: one in kQuickShare of them, or kSampled where the step comes `closer`.
    Work estimate(const b2World& world, KXPStepCensus& census, float dt, bool closer);
    static size_t sampleSize(size_t count, bool closer, bool allWhileFew);
    // Whether a moving body's boxes leave their margins in a step of `dt`.
    bool leavesMargins(const b2Body& body, const KXPBroadPhaseView& view, float dt) const;
    // Holds out the bodies of the crowd that add the most, until the step is within room; bodies of
    // the still tiers only where it stays past the budget (`pastBudget`: the step foreseen passed
    // it, not only the held pile's limit) with the dynamic ones held.
    int holdOut(b2World& world, KXPStepCensus& census, const Said& said, float dt, bool pastBudget);
    // What a body adds to the coming step where it stands (KXPStepBudgetHold.cpp); `crowdPart`,
    // where given, takes the part of it that is a crowd's average.
    Work addsOf(b2Body* body, Shares& shares, Work* crowdPart);
    // The part of what a body adds that is its crowd's, as the crowd stands.
    Work crowdPartOf(const b2Body* body, Shares& shares) const;
    // Whether a body given back is held again: not while its crowd has not grown, unless the step
    // passes the budget.
    bool stayed(const b2Body& body, const Work& adds, bool pastBudget) const;
    void hold(b2Body* body);
    int giveBack(b2World& world, const Said& said, int64_t continuousCost, std::vector<b2Body*>& given);
    // Boxes that entered the move buffer while the budget acted (the game answering a contact's
    // end), past the `from` entries counted and the bodies given back (counted as they came):
    // counted into the prediction.
    void countLate(const b2World& world, int32 from, std::vector<b2Body*>& given);
    // Whether the step foreseen passes what Box2D can hold: the pairs of either pairing, the
    // contacts with those it makes.
    bool passesLimits() const;
    static Work reachingMade(Work work);
    uint64_t nextStamp() { return ++m_stamp; }

    RankOf m_rankOf;
    JointGone m_jointGone;
    int32 m_worldBoxes = kWorldBoxes;
    bool m_observing = false;
    KXPStepContacts m_contacts;
    KXPBatchedDisable m_disable;
    std::unordered_map<const b2Body*, Record> m_records;
    // Dynamic and kinematic bodies in the physics.
    std::vector<b2Body*> m_movers;
    // Held out, oldest first; the next to look at for giving back.
    KXPBodyList m_held;
    size_t m_nextGiveBack = 0;
    KXPBodyList m_flagged;
    KXPStepCensus::Memo m_memo;
    uint64_t m_stamp = 0;
    Work m_predicted;
    Work m_continuousWork;
    int64_t m_foreseen = 0;
    uint64_t m_nextSerial = 1;
    // The pairs the last step's last pairing found, and the walks per pair the last sample of the
    // moving bodies told.
    int64_t m_lastPairs = 0;
    int64_t m_walksPerPair = 0;
    // What one body carried beyond its margins paid in the last sample that found one, and the boxes
    // it overlapped.
    Work m_carriedBody;
    int64_t m_carriedMet = 0;
    // What the quick count's sample of moving bodies looked at: boxes met and list entries.
    int64_t m_sampleMet = 0;
    int64_t m_sampleListed = 0;
    // Bodies given back so far.
    uint64_t m_returns = 0;
    // Bodies whose boxes entered the physics since the last step (made, teleported): the first
    // pairing counts each of their boxes.
    std::vector<const b2Body*> m_entering;
    // Contacts made inside a step (the filter let them), and the first pairing's share predicted;
    // the first tests of those made after the first pairing, which the next step pays for
    // (KXPStepContacts::countFirstTest; counted as they come, then for the coming step).
    int64_t m_madeInStep = 0;
    // Whether any of them was made before Box2D locked the world: by the step's first pairing.
    bool m_madeAtStart = false;
    Work m_firstTestsComing;
    Work m_firstTests;
    // Bodies destroyed since the last step, counted as they go, then for the coming step.
    int64_t m_goneComing = 0;
    int64_t m_gone = 0;
    int64_t m_firstImpacts = 0;
    // The first pairing.
    Work m_first;
    // The boxes the ground rays looked at after the last step and after this one so far, and in
    // this frame.
    int64_t m_raysLast = 0;
    // The moving bodies the last count tried.
    size_t m_tried = 0;
    int64_t m_rays = 0;
    int64_t m_frameRays = 0;
    // The boxes rays may still look at past what is left of this frame (kRayGrace each).
    int64_t m_frameGrace = kRoomWork / KXPStepWork::kRayCost;
    // The boxes the budget looked at for this step.
    int64_t m_looks = 0;
    uint64_t m_step = 0;
    int64_t m_frameWork = 0;
    int64_t m_frameLeft = 0;
    // What making the shapes of this frame cost the game (kLaidCost each).
    int64_t m_frameLaid = 0;
    KXPContinuousCollision m_continuous;
};
