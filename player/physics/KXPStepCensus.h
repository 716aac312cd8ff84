#pragma once

// Looks boxes up in Box2D's broad phase as its pairing will, and counts what each adds to the
// coming step (KXPStepWork): the pairs it finds, the contacts each pair walks to see whether it has
// its contact already, the contacts it makes. Box2D pairs at the start of a step the boxes moved
// since the last one (made, enabled, moved by the game, given a new type: its move buffer) and, at
// its end, those its bodies carried beyond their margins; a box moved too is paired from the larger
// id only. Counting reads Box2D's state and changes nothing in it; every box it meets is a look the
// budget pays for itself.

#include "player/physics/KXPBroadPhaseView.h"
#include "player/physics/KXPStepWork.h"

#include <box2d/box2d.h>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

class KXPStepCensus {
public:
    // What a look-up needs of a box, read the first time a census meets it: its body and fixture,
    // its filter, how many contacts its body holds (walked when a pair of it is found, the box
    // coming later), whether it falls and whether it moved. Kept between censuses, valid for one
    // (`stamp`).
    struct Box {
        const b2Body* body = nullptr;
        const b2Fixture* fixture = nullptr;
        b2Filter filter;
        int64_t contacts = 0;
        uint64_t stamp = 0;
        bool falling = false;
        bool moved = false;
        // Whether it leaves its margins in the step (then paired again from its own side too), once
        // asked.
        bool going = false;
        bool goingKnown = false;
        bool lookedUp = false;
        // Whether `contacts` was counted (a walk of its body's list, only where needed).
        bool counted = false;
        // What its look-up found (or an average), for a second entry of it in the move buffer and for
        // what holding its body takes away.
        int64_t pairs = 0;
        int64_t asked = 0;
        int64_t made = 0;
        int64_t walks = 0;
        int64_t fresh = 0;
        int64_t freshLight = 0;
        int64_t touching = 0;
        int64_t impacts = 0;
        // The boxes it overlaps, each a pair of the pairing whichever of the two finds it.
        int64_t met = 0;
        // It met more than a crowd's boxes (its counts are then the crowd sample's average); its
        // counts are an average (the crowd's, or those of the boxes looked up).
        bool crowded = false;
        bool averaged = false;
        // Not looked up at all, the looks spent: its counts are the average of those that were.
        bool unlooked = false;
        // Of the pool (moved among what it paired with already), its counts the pool sample's average
        // until it is looked up; and the entries of it in the buffer (each after the first finds its
        // pairs again).
        bool pooled = false;
        int32 entries = 0;
    };
    // Boxes met by earlier censuses, reused (a census per step allocates nothing once warm). The
    // boxes are kept in pages of kPageBoxes, each made when a box of it is first met: a sample of a
    // world of tens of thousands of boxes touches the memory of what it meets, not of every box up
    // to the largest id. An entry stays where it is while the memo lives.
    struct Memo {
        static constexpr size_t kPageBoxes = 64;
        std::vector<std::unique_ptr<Box[]>> pages;
        // The first pairing's crowded boxes, those left for the average and the crowd's sample
        // order (a hash, a box), kept for their room.
        std::vector<int32> paired;
        std::vector<int32> counted;
        std::vector<int32> pool;
        std::vector<int32> crowded;
        std::vector<int32> unlooked;
        // What the pool's boxes add to the pairing, as last told.
        KXPStepWork poolWork;
        // The census whose first pairing the lists above tell: a step that counts none holds the
        // ids of an earlier one, whose boxes may have gone since.
        uint64_t pairedStamp = 0;
        std::vector<std::pair<uint32_t, int32>> order;
    };
    // A body carried beyond its margins, or coming back, is followed through at most this many boxes
    // it meets.
    static constexpr int64_t kCarriedBoxes = 1 << 16;
    // A sample of a crowd, or of the pool: one box in kCrowdShare (kPoolShare) of them, eight at
    // least and 64 at most, while its looks allow past eight.
    static constexpr int64_t kLeastCrowdSample = 8;
    static constexpr size_t kCrowdShare = 32;
    static constexpr size_t kPoolShare = 32;
    static constexpr size_t kCrowdSampleMost = 64;

    KXPStepCensus(const b2World& world, Memo& memo, uint64_t stamp);

    const KXPBroadPhaseView& view() const { return m_view; }
    // The boxes looked at so far, and of them the entries of contact lists walked (each a step along
    // a list, where a box met in the tree is mostly a read of what the census has seen already).
    int64_t looks() const { return m_looks; }
    int64_t listed() const { return m_listed; }

    // The first pairing of the coming step. Each box of a body entering the physics since the last
    // step (`entering`, sorted: made, laid, teleported; null: every box) is counted: looked up as the
    // pairing will, as far as `crowd` boxes met. One that meets no more is counted exactly; one that
    // meets more is one of a crowd, whose sample (boxes picked by a hash of their place and `salt`,
    // looked up whole while the looks stay within `crowdLooks`) gives the rest its average. Once the
    // looks pass `looks`, the boxes not yet looked up take the average of those that were (a hundred
    // thousand boxes laid at once). The other boxes (the pool: moved by the game among what they
    // paired with already, given a new type) are a sample, looked up whole and scaled to them all.
    // kxcount::kMax for the looks and crowd, and no `entering`, looks every box up whole.
    KXPStepWork firstPairing(int64_t looks, int64_t crowd, int64_t crowdLooks, uint32_t salt,
                             const std::vector<const b2Body*>* entering = nullptr);
    // The pool's boxes counted box by box as the entering ones were (for holding out, which needs
    // each body's share), within `looks`: answers the pool's part of the pairing so counted, and
    // what the last count told of it (`before`); nothing where this census counted no first pairing.
    KXPStepWork countPool(int64_t looks, int64_t crowd, int64_t crowdLooks, uint32_t salt,
                          KXPStepWork* before);
    // Of a first pairing's `pairs`, those past the room Box2D's pair buffer has (it grows for them).
    int64_t pastRoom(int64_t pairs) const;
    // What a box of the move buffer adds to the pairing the last firstPairing counted, for its
    // first entry or for a later one (which finds its pairs again); null for a box it did not
    // count.
    const Box* pairingOf(int32 proxyId) const;
    // The boxes this census's first pairing counted, each once; none where it counted none.
    const std::vector<int32>& pairedBoxes() const;
    static KXPStepWork addsOf(const Box& box, bool again);
    // Its first entry and every later one.
    static KXPStepWork pairingAdds(const Box& box);
    // One entry of the move buffer, looked up as the pairing will (as far as `most` boxes met, past
    // which it counts none, one of a crowd, or with `scalePast` what it met scaled to the world), a
    // later entry of a box finding its pairs again.
    KXPStepWork countEntry(int32 proxyId, int64_t most, bool scalePast = false);
    // How many other boxes a box overlaps, counting no further than past `most`.
    int64_t overlaps(int32 proxyId, int64_t most);
    // A moving body whose boxes leave their margins in a step of `dt`: found again with every box
    // it overlaps (as far as kCarriedBoxes), each pair walking half the list it is in (the contact is found
    // on the way); a pair with a box that leaves its margins too is found once, from the larger id. `met`
    // (where given) gains the boxes its boxes overlap.
    KXPStepWork countCarried(const b2Body& body, float dt, int64_t* met = nullptr);
    // A body held out of the physics, as if enabled where it stands: the pairs it would find and
    // the contacts it would make.
    KXPStepWork countComing(const b2Body& body);

private:
    class Query;
    Box& box(int32 proxyId);
    // The contacts its body holds, counted once.
    int64_t contactsOf(int32 proxyId);
    // Whether the box leaves its margins in the step of the last countCarried, told once.
    bool going(int32 proxyId);
    // `most`: the boxes met past which the look-up stops (`stopped` then tells so); `halving`: pairs
    // with other moved boxes count half from either side (a crowd's sample).
    KXPStepWork lookUp(const Box& own, const b2AABB& bounds, int32 proxyId, int32 ownId, bool carried,
                       int64_t most = kxcount::kMax, bool* stopped = nullptr, int64_t* met = nullptr,
                       bool halving = false);
    // Looks a box of the move buffer up, keeping what it found; false where it met more than `most`,
    // unless `scalePast`: then it keeps what it found scaled as if every box of the world were like
    // those met.
    bool countMoved(Box& own, int32 proxyId, int64_t most, bool halving = false, bool scalePast = false);
    // Boxes of the move buffer not yet counted, each as far as `crowd` boxes met, crowds by their
    // sample, while the looks stay within `looks` (the rest take the average of those counted).
    KXPStepWork countBoxes(const std::vector<int32>& boxes, int64_t looks, int64_t crowd, int64_t crowdLooks,
                           uint32_t salt);
    // A sample of `boxes`, one in `share` (see kLeastCrowdSample), looked up whole, pairs with other
    // moved boxes halved from either side: added into `sum` and `met`; answers how many.
    int64_t sampleWhole(const std::vector<int32>& boxes, size_t share, int64_t looks, uint32_t salt,
                        KXPStepWork& sum, int64_t& met);
    // What the later entries of `boxes` add: each finds its box's pairs again.
    KXPStepWork againOf(const std::vector<int32>& boxes);
    // Adds to `work` what a box's entries after its first add.
    static void addLaterEntries(const Box& box, KXPStepWork& work);

    KXPBroadPhaseView m_view;
    Memo& m_memo;
    uint64_t m_stamp;
    int64_t m_looks = 0;
    int64_t m_listed = 0;
    // The step the carried bodies are carried in.
    float m_dt = 0.0f;
};
