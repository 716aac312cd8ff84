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
        // What its look-up found, for a second entry of it in the move buffer.
        int64_t pairs = 0;
        int64_t asked = 0;
        int64_t made = 0;
    };
    // Boxes met by earlier censuses, reused (a census per step allocates nothing once warm), and the
    // last pass over the move buffer that saw each box. The boxes are kept in pages of kPageBoxes,
    // each made when a box of it is first met: a sample of a world of tens of thousands of boxes
    // touches the memory of what it meets, not of every box up to the largest id. An entry stays
    // where it is while the memo lives.
    struct Memo {
        static constexpr size_t kPageBoxes = 64;
        std::vector<std::unique_ptr<Box[]>> pages;
        std::vector<uint64_t> seen;
        uint64_t bufferStamp = 0;
    };

    KXPStepCensus(const b2World& world, Memo& memo, uint64_t stamp);

    const KXPBroadPhaseView& view() const { return m_view; }
    // The boxes looked at so far, and of them the entries of contact lists walked (each a step along
    // a list, where a box met in the tree is mostly a read of what the census has seen already).
    int64_t looks() const { return m_looks; }
    int64_t listed() const { return m_listed; }

    // The first pairing of the coming step: every box of the move buffer while there are at most
    // `boxes`, else about `boxes` of them picked by a hash of their place and `salt`, scaled to
    // them all.
    KXPStepWork firstPairing(size_t boxes, uint32_t salt);
    // Of a first pairing's `pairs`, those past the room Box2D's pair buffer has (it grows for them).
    int64_t pastRoom(int64_t pairs) const;
    // One box of the move buffer, looked up as the pairing will.
    KXPStepWork countMoved(int32 proxyId);
    // How many other boxes a box of the move buffer overlaps, counting no further than past `most`.
    int64_t overlaps(int32 proxyId, int64_t most);
    // A moving body whose boxes leave their margins in a step of `dt`: found again with every box
    // it overlaps, each pair walking half the list it is in (the contact is found on the way); a
    // pair with a box that leaves its margins too is found once, from the larger id.
    KXPStepWork countCarried(const b2Body& body, float dt);
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
    KXPStepWork lookUp(const Box& own, const b2AABB& bounds, int32 proxyId, int32 ownId, bool carried);

    KXPBroadPhaseView m_view;
    Memo& m_memo;
    uint64_t m_stamp;
    int64_t m_looks = 0;
    int64_t m_listed = 0;
    // The step the carried bodies are carried in.
    float m_dt = 0.0f;
};
