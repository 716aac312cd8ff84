#include "player/physics/KXPStepWork.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <utility>

namespace {

// Each count with its cost, in one list, so that sums, removals and scaling walk the same fields.
struct Count {
    int64_t KXPStepWork::*field;
    int64_t price;
    // Goes from contact to contact: dearer in a world of many, by this share (null: not so).
    int64_t (*share)(int64_t reach) = nullptr;
};
constexpr Count kCounts[] = {
    {&KXPStepWork::contacts, KXPStepWork::kContactCost},
    {&KXPStepWork::touching, KXPStepWork::kTouchingCost},
    {&KXPStepWork::touchingPolygons, KXPStepWork::kTouchingPolygonsCost},
    {&KXPStepWork::sensing, KXPStepWork::kSensingCost},
    {&KXPStepWork::bodies, KXPStepWork::kBodyCost},
    {&KXPStepWork::moving, KXPStepWork::kMovingCost},
    {&KXPStepWork::joints, KXPStepWork::kJointCost},
    {&KXPStepWork::queries, KXPStepWork::kQueryCost},
    {&KXPStepWork::pairs, KXPStepWork::kPairCost},
    {&KXPStepWork::asked, KXPStepWork::kAskedCost},
    {&KXPStepWork::grown, KXPStepWork::kGrownCost},
    {&KXPStepWork::walks, KXPStepWork::kWalkCost, &KXPStepWork::farShare},
    {&KXPStepWork::made, KXPStepWork::kMadeCost},
    {&KXPStepWork::fresh, KXPStepWork::kFreshCost},
    {&KXPStepWork::freshLight, KXPStepWork::kFreshLightCost},
    {&KXPStepWork::impacts, KXPStepWork::kImpactCost},
    {&KXPStepWork::scans, KXPStepWork::kScanCost},
    {&KXPStepWork::scanJumps, KXPStepWork::kScanJumpCost, &KXPStepWork::scanShare},
    {&KXPStepWork::scanScattered, KXPStepWork::kScatteredCost, &KXPStepWork::scatteredShare},
    {&KXPStepWork::rays, KXPStepWork::kRayCost},
    {&KXPStepWork::looks, KXPStepWork::kLookCost},
    {&KXPStepWork::gone, KXPStepWork::kGoneCost},
};

// Rising with the square of the contacts past the near ones, as more of them fall out of the
// caches, to kFarTimes at `farContacts`.
int64_t shareUpTo(int64_t reach, int64_t farContacts) {
    const int64_t span = farContacts - KXPStepWork::kNearContacts;
    const int64_t beyond = std::min(std::max<int64_t>(reach - KXPStepWork::kNearContacts, 0), span);
    return 1024 + (KXPStepWork::kFarTimes - 1) * 1024 * beyond / span * beyond / span;
}

// What one count costs. Laid out count by count (costOf), each field and price is known where it
// is read: the prediction of a small world, most of whose counts are none, stays a small share of
// its step.
kxcount::Wide costOf(const KXPStepWork& work, const Count& count) {
    const int64_t value = work.*count.field;
    if (value == 0) {
        return 0;
    }
    const kxcount::Wide priced = static_cast<kxcount::Wide>(value) * count.price;
    return count.share != nullptr ? priced * count.share(work.reach) / 1024 : priced;
}

template <size_t... Index> kxcount::Wide costOf(const KXPStepWork& work, std::index_sequence<Index...>) {
    return (costOf(work, kCounts[Index]) + ...);
}

} // namespace

int64_t KXPStepWork::farShare(int64_t reach) {
    return shareUpTo(reach, kFarContacts);
}

int64_t KXPStepWork::scanShare(int64_t reach) {
    return shareUpTo(reach, kScanFarContacts);
}

int64_t KXPStepWork::scatteredShare(int64_t reach) {
    const int64_t beyond = std::min(std::max<int64_t>(reach - kScatteredContacts, 0), kScatteredContacts);
    return 1024 * beyond / kScatteredContacts;
}

int64_t KXPStepWork::cost() const {
    // Wide enough for every count at its largest times every price: saturated once, at the end.
    return kxcount::narrow(costOf(*this, std::make_index_sequence<std::size(kCounts)>()));
}

void KXPStepWork::add(const KXPStepWork& other) {
    for (const Count& count : kCounts) {
        this->*count.field = kxcount::add(this->*count.field, other.*count.field);
    }
    reach = std::max(reach, other.reach);
}

void KXPStepWork::remove(const KXPStepWork& other) {
    for (const Count& count : kCounts) {
        this->*count.field = kxcount::sub(this->*count.field, other.*count.field);
    }
}

KXPStepWork KXPStepWork::scaled(int64_t numerator, int64_t denominator) const {
    KXPStepWork whole;
    if (denominator <= 0) {
        return whole;
    }
    for (const Count& count : kCounts) {
        const int64_t value = this->*count.field;
        whole.*count.field = value != 0 ? kxcount::scale(value, numerator, denominator) : 0;
    }
    whole.reach = reach;
    return whole;
}
