#include "player/objects/character/KXPObjectAssetCharacterRaycastCallback.h"

#include "player/objects/assets/KXPObjectAsset.h"
#include "player/physics/KXPBodyData.h"

float KXPObjectAssetCharacterRaycastCallback::ReportFixture(b2Fixture* fixture, const b2Vec2& /*point*/,
                                                            const b2Vec2& /*normal*/, float fraction) {
    constexpr float kPassThrough = -1.0f;
    if (fixture == nullptr || fixture->IsSensor()) {
        return kPassThrough;
    }
    KXPObjectAsset* object = KXPBodyData::nodeAs<KXPObjectAsset>(fixture);
    if (object == nullptr || object == m_character) {
        return kPassThrough;
    }
    const int destroy = object->getDestroyType();
    if (destroy == KXPObjectAsset::kDestroyCollision || destroy == KXPObjectAsset::kDestroyAllCollision) {
        return kPassThrough;
    }
    m_hitObject = object;
    return fraction;
}
