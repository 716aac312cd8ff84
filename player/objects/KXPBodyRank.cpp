#include "player/objects/KXPBodyRank.h"

#include "player/objects/KXPObject.h"
#include "player/physics/KXPBodyData.h"

KXPStepBudget::Rank KXPBodyRank::of(b2Body* body) {
    const KXPObject* object = KXPBodyData::nodeAs<KXPObject>(body);
    if (object == nullptr) {
        return KXPStepBudget::Rank::never;
    }
    return (object->getType() & KXPObject::kTypeCharacter) != 0 ? KXPStepBudget::Rank::last
                                                                : KXPStepBudget::Rank::first;
}
