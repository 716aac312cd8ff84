#pragma once

// The order in which the step budget holds bodies out of the physics. Bodies whose new pairs passed
// the world's contacts go first, whatever they add; then dynamic bodies, characters last among
// them. Only where the step stays past the budget with all of those held do the bodies left go:
// still sensors and kinematic movers, then still solids, the ground last. Within each, the body
// that adds the most work goes first, the newest first among equals.

#include <box2d/box2d.h>

#include <cstdint>
#include <vector>

struct KXPHoldOrder {
    enum class Tier : uint8_t {
        // New pairs past the world's contacts.
        flagged,
        dynamic,
        character,
        // Still sensors (coins, shields, portals) and kinematic bodies that move (lifts, paths,
        // scouts): held only past the budget with every body of the tiers above held.
        still,
        // Still solid bodies (floors, walls, ledges standing still): the ground.
        solid,
    };
    struct Candidate {
        b2Body* body = nullptr;
        Tier tier = Tier::dynamic;
        uint64_t serial = 0;
        // What it adds to the coming step, in nanoseconds.
        int64_t cost = 0;
        // Part of what it adds is a crowd's average (its share goes down as the crowd is held): that
        // part's cost.
        bool crowded = false;
        int64_t crowdCost = 0;
        // Given back into a crowd that has not grown since: it stays while the step is within the
        // budget.
        bool stays = false;
        // Where its caller keeps what it adds.
        size_t slot = 0;
    };

    // A body's tier by its type and shapes: `character` for a dynamic body the game holds last.
    static Tier tierOf(const b2Body& body, bool character, bool flagged);
    static bool pastTheTier(Tier tier) { return tier >= Tier::still; }
    // The order they go in.
    static bool before(const Candidate& a, const Candidate& b);
    static void sort(std::vector<Candidate>& candidates);
    // The still solid body kept whatever is held: the one that adds the most (the oldest among
    // equals), which no body left adds as much as. Its index in the sorted candidates, or their
    // count where none is a still solid.
    static size_t keptSolid(const std::vector<Candidate>& sorted);
};
