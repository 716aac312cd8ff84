#include "player/objects/effects/KXLightFixturesQueryCallback.h"

#include "player/objects/KXPObject.h"
#include "player/physics/KXPBodyData.h"

bool KXLightFixturesQueryCallback::blocksLight(b2Fixture* fixture) {
    KXPObject* object = KXPBodyData::nodeAs<KXPObject>(fixture);
    return object != nullptr && object->blocksLight();
}

bool KXLightFixturesQueryCallback::ReportFixture(b2Fixture* fixture) {
    if (m_fixtures.size() < m_limit && blocksLight(fixture)) {
        m_fixtures.push_back(fixture);
    }
    // Nothing more can be taken once the list is full.
    return m_fixtures.size() < m_limit;
}
