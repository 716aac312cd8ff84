#pragma once

// Bodies piled on one another make the physics step's work grow with the square of their number:
// the broad phase pairs every moving box with every box it overlaps, and each new pair walks the
// list of contacts of one of its bodies. A level whose sections are far narrower than what they
// hold, or that places thousands of bodies at one point, would hold a frame for seconds.
//
// So a body is not made where its boxes would overlap more than kMaxOverlaps boxes of other bodies
// at least as large as its own, and before each step the field takes out of the physics every body
// whose boxes have come to (piles that form as bodies are moved): it is disabled where it stands,
// its object staying, drawn and updated, once and for good. Two static bodies are not counted
// against each other: they never make a contact, and a magnet gathers coins so. Counting each
// overlap at the smaller body lets a large one (the ground under a heap) hold any number of small
// ones, while the pairs of the world stay below kMaxOverlaps a box. Overlaps are counted, not time,
// so that a run repeats exactly. Bodies that collide push one another apart: the scenario games
// reach 8.

#include <box2d/box2d.h>

#include <functional>
#include <vector>

class KXPObject;

class KXPBodyCrowding {
public:
    static constexpr int kMaxOverlaps = 32;

    // Which bodies another body's overlaps count (all when empty).
    using Counts = std::function<bool(const b2Body*)>;

    // Which bodies go first from a crowd, which only from a crowd of their own rank (the
    // characters, without which there is no game), and which never (the field's own).
    enum class Rank { first, last, never };
    // The game's rule: characters last, bodies of no object (the screen's edge, a character's
    // anchor) never, every other first.
    static Rank rankOf(const b2Body* body);
    // The one line and trace line for an object whose body is left out of the physics, when it
    // would be made or before a step.
    static void sayLeftOut(const KXPObject& object, int overlaps, bool whenMade);

    // How many boxes of other bodies, at least as large as the box of the body's they overlap, the
    // body's boxes overlap; counting stops past kMaxOverlaps.
    static int overlapsOf(const b2World& world, const b2Body& body, const Counts& counts = nullptr);
    // The same for a body of these boxes if it were made now, of that type.
    static int overlapsOfNew(const b2World& world, const std::vector<b2AABB>& boxes, b2BodyType type,
                             const Counts& counts = nullptr);

    // Disables every enabled body above the bound, those ranked first before those ranked last
    // (counting only bodies of their own rank), newest first within each (the world lists its
    // newest body first), so that the bodies already playing stay. Each body taken out is handed to
    // `takenOut` with its count. Answers how many were.
    static int thinOut(b2World& world, const std::function<Rank(const b2Body*)>& rank,
                       const std::function<void(b2Body*, int)>& takenOut);
};
