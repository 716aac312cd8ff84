#pragma once

// A light ray: ends at the nearest fixture that blocks light. Sensors cast shadows' silhouettes
// (the query takes them) but never stop a ray.

#include <box2d/box2d.h>

class KXLightFixturesRaycastCallback : public b2RayCastCallback {
public:
    ~KXLightFixturesRaycastCallback() override = default;

    // -1 (ignored) for fixtures that do not block light and for sensors; otherwise the hit is kept
    // and the ray is clipped there, so the last kept hit is the nearest.
    float ReportFixture(b2Fixture* fixture, const b2Vec2& point, const b2Vec2& normal,
                        float fraction) override;

    bool hit() const { return m_hit; }
    const b2Vec2& point() const { return m_point; }

private:
    bool m_hit = false;
    b2Vec2 m_point{0.0f, 0.0f};
};
