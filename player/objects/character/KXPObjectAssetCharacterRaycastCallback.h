#pragma once

// The ground ray of a character: the closest fixture the ray meets that can be stood on, or at
// least touched. Sensors, fixtures of no game object, the character's own fixtures, and objects
// that destroy what touches them are passed through.

#include <box2d/box2d.h>

class KXPObjectAsset;

class KXPObjectAssetCharacterRaycastCallback : public b2RayCastCallback {
public:
    explicit KXPObjectAssetCharacterRaycastCallback(KXPObjectAsset* character) : m_character(character) {}

    // -1 lets the ray go on past the fixture; the fraction clips the ray there, so that the
    // closest candidate wins.
    float ReportFixture(b2Fixture* fixture, const b2Vec2& point, const b2Vec2& normal,
                        float fraction) override;

    KXPObjectAsset* hitObject() const { return m_hitObject; }

private:
    KXPObjectAsset* m_hitObject = nullptr;
    KXPObjectAsset* m_character;
};
