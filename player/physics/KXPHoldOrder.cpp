#include "player/physics/KXPHoldOrder.h"

#include <algorithm>

namespace {

bool allSensors(const b2Body& body) {
    for (const b2Fixture* fixture = body.GetFixtureList(); fixture != nullptr; fixture = fixture->GetNext()) {
        if (!fixture->IsSensor()) {
            return false;
        }
    }
    return true;
}

bool moves(const b2Body& body) {
    return body.GetType() != b2_staticBody &&
           (body.GetLinearVelocity().LengthSquared() > 0.0f || body.GetAngularVelocity() != 0.0f);
}

} // namespace

KXPHoldOrder::Tier KXPHoldOrder::tierOf(const b2Body& body, bool character, bool flagged) {
    if (flagged) {
        return Tier::flagged;
    }
    if (body.GetType() == b2_dynamicBody) {
        return character ? Tier::character : Tier::dynamic;
    }
    // A kinematic body standing still is as still as a static one.
    return moves(body) || allSensors(body) ? Tier::still : Tier::solid;
}

bool KXPHoldOrder::before(const Candidate& a, const Candidate& b) {
    if (a.tier != b.tier) {
        return a.tier < b.tier;
    }
    if (a.cost != b.cost) {
        return a.cost > b.cost;
    }
    return a.serial > b.serial;
}

void KXPHoldOrder::sort(std::vector<Candidate>& candidates) {
    std::sort(candidates.begin(), candidates.end(), before);
}

size_t KXPHoldOrder::keptSolid(const std::vector<Candidate>& sorted) {
    const auto first = std::find_if(sorted.begin(), sorted.end(),
                                    [](const Candidate& candidate) { return candidate.tier == Tier::solid; });
    if (first == sorted.end()) {
        return sorted.size();
    }
    // The last of those that add as much as the first: the oldest.
    auto kept = first;
    while (kept + 1 != sorted.end() && kept[1].cost == first->cost) {
        ++kept;
    }
    return static_cast<size_t>(kept - sorted.begin());
}
