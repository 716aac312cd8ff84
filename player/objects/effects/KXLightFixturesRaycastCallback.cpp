#include "player/objects/effects/KXLightFixturesRaycastCallback.h"

#include "player/objects/effects/KXLightFixturesQueryCallback.h"

float KXLightFixturesRaycastCallback::ReportFixture(b2Fixture* fixture, const b2Vec2& point,
                                                    const b2Vec2& normal, float fraction) {
    (void)normal;
    if (!KXLightFixturesQueryCallback::blocksLight(fixture) || fixture->IsSensor()) {
        return -1.0f;
    }
    m_hit = true;
    m_point = point;
    return fraction;
}
