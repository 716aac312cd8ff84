#pragma once

// What a physics step pays for, counted as Box2D will do it, and what that costs. Each count is
// weighed by what one of it cost Box2D's step on this machine (Release build), as the calibration
// bench (bench/kxsim_step_calibration.sh) measured it against the step's own CPU time over a corpus
// of levels played with the bounds off. Counts decide, never time: a run repeats exactly.
//
// Every count and cost saturates: a world can hold more bodies than the square of their number
// fits in 64 bits.

#include <cstdint>
#include <limits>

// Sums and products of counts that stop at the largest value instead of wrapping.
namespace kxcount {
constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
inline int64_t add(int64_t a, int64_t b) {
    return b > 0 && a > kMax - b ? kMax : a + b;
}
inline int64_t mul(int64_t a, int64_t b) {
    return a > 0 && b > kMax / a ? kMax : a * b;
}
// Never below zero.
inline int64_t sub(int64_t a, int64_t b) {
    return a > b ? a - b : 0;
}
// Twice as wide as a count: a product of two counts, or a sum of them times prices, never overflows.
__extension__ typedef __int128 Wide;
inline int64_t narrow(Wide value) {
    return value > kMax ? kMax : value < 0 ? 0 : static_cast<int64_t>(value);
}
// a * numerator / denominator, for a sample scaled to the whole (wide only where it must be).
inline int64_t scale(int64_t a, int64_t numerator, int64_t denominator) {
    constexpr int64_t kNarrow = int64_t{1} << 31;
    if (denominator <= 0) {
        return 0;
    }
    if (a < kNarrow && numerator < kNarrow) {
        return a * numerator / denominator;
    }
    return narrow(static_cast<Wide>(a) * numerator / denominator);
}
} // namespace kxcount

struct KXPStepWork {
    // Nanoseconds each costs here.
    // A contact Box2D updates: its boxes tested, its shapes when they overlap.
    static constexpr int64_t kContactCost = 60;
    // A contact whose solid shapes touch, solved (6 + 6 iterations): one of them round (one point
    // in contact), or both polygons (their sides meet at up to two points, each worked out).
    static constexpr int64_t kTouchingCost = 900;
    static constexpr int64_t kTouchingPolygonsCost = 1800;
    // A sensor overlapping another shape, tested every step.
    static constexpr int64_t kSensingCost = 150;
    // Every body (islands, flags), and a body that moves (integrated, its boxes synchronised).
    static constexpr int64_t kBodyCost = 15;
    static constexpr int64_t kMovingCost = 150;
    static constexpr int64_t kJointCost = 500;
    // A box the broad phase takes out and puts back in its tree and looks up, a pair it finds, a
    // contact it walks to see whether the pair has one, a contact it makes.
    static constexpr int64_t kQueryCost = 800;
    // A pair found, turned away by the bodies' types or passed on: still coins that the magnet moves
    // onto one another cost 22-25 ns a pair on the machine the prices were first weighed on, and
    // 28-44 on another, each played alone. Boxes crowded at one point cost more, the tree's look-up
    // meeting about as many of its nodes as it finds pairs: 4,000 still shields laid at one point,
    // 37-55 ns a pair in their first step (which also grows Box2D's pair buffer: kGrownCost).
    static constexpr int64_t kPairCost = 30;
    // A pair with a falling body that makes no contact: Box2D asks the joints and the contact filter
    // before it turns the pair away. Thousands of characters laid at one point, which do not collide
    // with one another, measured 45-51 ns a pair in all in their first step.
    static constexpr int64_t kAskedCost = 20;
    // A pair of the step's first pairing past the room Box2D's pair buffer has kept from the pairings
    // before: the buffer grows by half again to hold it, its pairs copied into memory the system
    // hands out new. 12.5 million still coins at one point, paired where the buffer had no room and
    // again where it had grown, took 1.7-2.7 times as long the first time: 22-76 ns more a pair. On
    // the machine the prices were first weighed on, 4,000 still shields' first step came to about
    // 38 ns a pair in all, where later pairings took 22-25.
    static constexpr int64_t kGrownCost = 20;
    static constexpr int64_t kWalkCost = 4;
    static constexpr int64_t kMadeCost = 300;
    // A new contact, whose shapes this step tests for the first time (made in its first pairing, or
    // at the end of the last step once bodies were carried beyond their margins): two polygons'
    // manifold, then solved, or a chain's.
    static constexpr int64_t kFreshCost = 2000;
    // A light one: shapes still apart (a distance worked out, or the first axis that parts two
    // polygons), a round shape, which is solved too where it touches (kTouchingCost), or a sensor's
    // overlap. Thousands of polygon balls falling onto ledges, most of them not yet touching, cost
    // 40-60 ns each; 5,000 coins' first tests with the hero's sensor, 150-280 each, the whole step.
    static constexpr int64_t kFreshLightCost = 100;
    // Continuous collision: a time of impact worked out, and a contact looked at again for each
    // impact, the list read in order; a look that goes on to a page of memory not beside the last
    // one's is a miss the processor could not fetch ahead, and pays more, the more so in a world of
    // many contacts (scanShare).
    static constexpr int64_t kImpactCost = 2000;
    static constexpr int64_t kScanCost = 5;
    static constexpr int64_t kScanJumpCost = 8;
    // A list read out of order whose contacts no longer fit the caches: each jump waits on memory,
    // and the processor stops fetching ahead between them. Contacts of a pile fed a few at a time,
    // or of crowds walking in rows, 25,000-90,000 of them jumping at a quarter to all of their
    // looks, cost 43-111 ns a look in the bench on the machine the other prices were weighed on,
    // and 30-240 on a shared virtual machine, where the prices above foresee 10-20. Each jump
    // counted after the last step that ran continuous collision pays this more, from none at
    // kScatteredContacts of reach to all of it from twice that on; a list read in order pays none.
    static constexpr int64_t kScatteredCost = 100;
    static constexpr int64_t kScatteredContacts = 24576;
    // A box a character's ground ray looks at after the step. A crowd at one point stays in the
    // caches: 55-60 ns a box on a shared virtual machine, and more than 50 on the machine the other
    // prices were weighed on, where a look in rows cost half of one at one point. In rows each ray
    // goes down the tree to boxes of its own: 100-120 ns on the virtual machine.
    static constexpr int64_t kRayCost = 70;
    // A box the budget itself looks at to tell the step's work.
    static constexpr int64_t kLookCost = 10;
    // A body destroyed since the last step, where that step asks for more memory than Box2D's own
    // stack holds: the heap then first takes back what the game freed with the body (its object,
    // its look), chunk by chunk. Measured 1-1.3 microseconds a body after tens of thousands went.
    static constexpr int64_t kGoneCost = 1000;
    // Walks and a scan's jumps go from contact to contact, each in memory of its own: up to
    // kNearContacts in the world they stay in the processor's nearer caches and cost the prices
    // above; beyond, more and more of them are misses, rising with the square of the contacts past
    // the near ones up to kFarTimes the price from kFarContacts on (walks) or kScanFarContacts on
    // (scans, measured to stay near their price further). For a scan the reach is the contacts'
    // memory as packed contacts (KXPContinuousCollision::scanReach): contacts left scattered over
    // many pages cost as many more. What else the machine runs decides too: measured, a contact
    // looked at again cost twice or three times its price in a step now and then beside other work.
    static constexpr int64_t kNearContacts = 4096;
    static constexpr int64_t kFarContacts = 65536;
    static constexpr int64_t kScanFarContacts = 131072;
    static constexpr int64_t kFarTimes = 8;

    int64_t contacts = 0;
    int64_t touching = 0;
    int64_t touchingPolygons = 0;
    int64_t sensing = 0;
    int64_t bodies = 0;
    int64_t moving = 0;
    int64_t joints = 0;
    int64_t queries = 0;
    int64_t pairs = 0;
    int64_t asked = 0;
    int64_t grown = 0;
    int64_t walks = 0;
    int64_t made = 0;
    int64_t fresh = 0;
    int64_t freshLight = 0;
    int64_t impacts = 0;
    int64_t scans = 0;
    int64_t scanJumps = 0;
    int64_t scanScattered = 0;
    int64_t rays = 0;
    int64_t looks = 0;
    int64_t gone = 0;
    // The contacts of the world the work is done in: no count, it prices the walks and scans.
    int64_t reach = 0;

    // In nanoseconds, saturating.
    int64_t cost() const;
    // What a walk, and a scan, costs in 1,024ths of its price, where the world holds `reach`
    // contacts.
    static int64_t farShare(int64_t reach);
    static int64_t scanShare(int64_t reach);
    // What a jump of a list read out of order pays beyond its miss, in 1,024ths of kScatteredCost.
    static int64_t scatteredShare(int64_t reach);
    // Each count plus the other's; the reach is the wider of the two.
    void add(const KXPStepWork& other);
    // Each count less the other's, never below zero (the reach stays).
    void remove(const KXPStepWork& other);
    // Each count times numerator / denominator (a sample scaled to what it was taken from).
    KXPStepWork scaled(int64_t numerator, int64_t denominator) const;
};
