#include "player/physics/KXPStepWork.h"

#include <cstddef>

namespace {

// Each count with its cost, in one list, so that sums, removals and scaling walk the same fields.
struct Count {
    int64_t KXPStepWork::*field;
    int64_t price;
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
    {&KXPStepWork::walks, KXPStepWork::kWalkCost},
    {&KXPStepWork::made, KXPStepWork::kMadeCost},
    {&KXPStepWork::impacts, KXPStepWork::kImpactCost},
    {&KXPStepWork::scans, KXPStepWork::kScanCost},
    {&KXPStepWork::rays, KXPStepWork::kRayCost},
    {&KXPStepWork::looks, KXPStepWork::kLookCost},
};

} // namespace

int64_t KXPStepWork::cost() const {
    // Wide enough for every count at its largest times every price: saturated once, at the end.
    kxcount::Wide total = 0;
    for (const Count& count : kCounts) {
        total += static_cast<kxcount::Wide>(this->*count.field) * count.price;
    }
    return kxcount::narrow(total);
}

void KXPStepWork::add(const KXPStepWork& other) {
    for (const Count& count : kCounts) {
        this->*count.field = kxcount::add(this->*count.field, other.*count.field);
    }
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
        whole.*count.field = kxcount::scale(this->*count.field, numerator, denominator);
    }
    return whole;
}
