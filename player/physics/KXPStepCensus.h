#pragma once

// What a physics step pays for, counted as Box2D will pay for it, for the step budget
// (KXPStepBudget) to weigh: the contacts it works out, the pairs its broad phase looks at for the
// boxes moved since the last step or moving at a set speed, and the contacts it walks to see
// whether a pair has its contact already. Counting reads Box2D's state and changes nothing in it.

#include "player/physics/KXPBroadPhaseView.h"

#include <box2d/box2d.h>

#include <cstdint>
#include <limits>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// What a step pays for, or what one body adds to it.
struct KXPStepWork {
    // What each costs, in nanoseconds on this machine (Release): a contact worked out and,
    // touching, solved (0.7 to 0.9 us in a heap; piles cost more, through their walks), a pair
    // looked at, a contact walked; and a box the census itself looks at.
    static constexpr int64_t kContactCost = 800;
    static constexpr int64_t kPairCost = 20;
    static constexpr int64_t kWalkCost = 10;
    static constexpr int64_t kLookCost = 30;
    // A contact made in the step costs more again: made, looked at the first time and begun,
    // which the game hears of (some 10 us a contact where thousands are made at once).
    static constexpr int64_t kMadeCost = 8000;
    // A box a character's ground ray looks at after the step (its shape is cast against).
    static constexpr int64_t kRayCost = 100;
    // The pairs of a body whose boxes were not looked up: more than can be told.
    static constexpr int64_t kUnknown = std::numeric_limits<int64_t>::max() / 4;

    int64_t contacts = 0;
    int64_t pairs = 0;
    int64_t walks = 0;
    // Of the contacts, those made in the step.
    int64_t made = 0;
    // The boxes the characters' ground rays look at after the step.
    int64_t rays = 0;

    // In nanoseconds.
    int64_t cost() const;
    void add(const KXPStepWork& other);
};

// A cheap bound on what boxes looked up in the coming step pair with: the box around all of them,
// and the boxes (and those of falling bodies) within it. A box looked up pairs at most with each
// box in reach, and makes contacts only with those of falling bodies unless it falls itself.
struct KXPStepReach {
    b2AABB box{};
    int64_t boxes = 0;
    int64_t falling = 0;
    int64_t boxesInReach = 0;
    int64_t fallingInReach = 0;

    // The boxes Box2D looks up at the start of the step (made, moved by the game, given a type),
    // and those of bodies moving at a set speed; counting in reach stops once boxes times boxes in
    // reach pass `pairs`.
    static KXPStepReach ofMoved(const KXPBroadPhaseView& view, int64_t pairs);
    static KXPStepReach of(const KXPBroadPhaseView& view, const std::vector<b2Body*>& bodies, int64_t pairs);
    // At most the pairs they look at, and the contacts they make besides those held.
    int64_t pairBound() const { return boxes * boxesInReach; }
    int64_t contactBound() const { return falling * boxesInReach + (boxes - falling) * fallingInReach; }

private:
    void add(const b2AABB& fat, const b2Body& body);
    void countInReach(const KXPBroadPhaseView& view, int64_t pairs);
};

// The work of the coming step, and what each body adds to it, counted box by box as Box2D will
// pair them.
class KXPStepCensus {
public:
    explicit KXPStepCensus(const b2World& world) : m_world(world), m_view(world) {}

    const KXPBroadPhaseView& view() const { return m_view; }
    KXPStepWork total;

    // Looks up a box of the move buffer as the step's pairing does (a box moved too is paired from
    // the larger id only), adding the pairs, the contacts they may make and the contacts each pair
    // walks to its body's and the total, and stopping once the total costs more than `stop`
    // nanoseconds. The box of a body that will cast ground rays (`casts`) adds the boxes they look
    // at: two rays across it, each looking at the boxes it overlaps.
    void countMoved(int32 proxyId, int64_t stop, bool casts);
    // Looks up the boxes of a body moving at a set speed, or of one held out as Box2D would make
    // them where it stands, likewise; answers what they add, and tells in `cut` when the stop cut
    // the count short.
    KXPStepWork countBody(b2Body& body, bool inBroadPhase, int64_t stop, bool* cut);
    // Whether the total (and the census's own looks, once weighed) cost more than `stop`
    // nanoseconds.
    bool passed(int64_t stop) const { return total.cost() + m_looks * m_lookWeight > stop; }
    // The census's own looks count toward the stop: where the step is known to pass the budget far,
    // counting stops as soon as it costs as much as the step may.
    void weighLooks() { m_lookWeight = KXPStepWork::kLookCost; }
    // The boxes looked at so far, which the census pays for.
    int64_t looks() const { return m_looks; }
    void add(b2Body* body, const KXPStepWork& adds);
    // Work the total holds already, told to the body that adds it.
    void attribute(b2Body* body, const KXPStepWork& adds) { m_byBody[body].add(adds); }
    // The rays of the characters looked up, told also to each body they cross.
    void attributeRayHits();
    // A body whose boxes were not looked up: it adds more than the budget can tell.
    void addUnknown(b2Body* body);
    // Whether a body was left unknown: the step may cost anything.
    bool cutShort() const { return m_cutShort; }
    // The contacts walked to make pairs, if each were found again: each contact walks the list of
    // the body whose box came later (Box2D looks in that body's list); each body's own share, and
    // its contacts, kept when `byBody`.
    // The longest contact list then.
    void countWalks(bool byBody);
    const std::unordered_map<b2Body*, KXPStepWork>& byBody() const { return m_byBody; }
    int64_t longestList() const { return m_longestList; }

    // What a look-up needs of a box, read the first time the census meets it, so that meeting it
    // again reads no more than its entry: its body, whether that falls, its filter, how many
    // contacts its body holds (walked when a pair of it is found, the box coming later) and
    // whether it moved.
    struct Box {
        const b2Body* body = nullptr;
        b2Filter filter;
        int32 contacts = 0;
        bool falling = false;
        bool moved = false;
        bool known = false;
        // The ground rays of characters looked up that cross it.
        int64_t rayHits = 0;
    };

private:
    class Query;
    KXPStepWork countAt(const Box& own, const b2AABB& bounds, int32 proxyId, int32 ownId, int64_t stop,
                        bool makes, bool casts, bool* cut);
    Box& box(int32 proxyId);
    static Box boxOf(const b2Fixture& fixture);

    const b2World& m_world;
    KXPBroadPhaseView m_view;
    std::unordered_map<b2Body*, KXPStepWork> m_byBody;
    std::unordered_set<int32> m_lookedUp;
    std::vector<Box> m_boxes;
    int64_t m_looks = 0;
    int64_t m_lookWeight = 0;
    int64_t m_longestList = 0;
    bool m_cutShort = false;
};
