#pragma once

// The game field's contact listener: hands every contact of the world to both game objects
// involved (from inside the world step), and lets objects pass through the screen boundary
// while they are not wholly inside the camera's frame.
//
// The boundary is any fixture whose mask bits are 2 meeting a fixture of category 2. The frame
// comes from a view-box source the scene sets (the camera's frame grown by 10 points, in metres);
// without one, boundary contacts are left as they are.

#include <box2d/box2d.h>

#include <cstdint>
#include <functional>

class KXPContactListener : public b2ContactListener {
public:
    static constexpr uint16_t kBoundaryMaskBits = 2;
    static constexpr uint16_t kBoundaryCategoryBits = 2;

    // The camera's view box in world coordinates, asked once per boundary contact.
    using ViewBoxSource = std::function<b2AABB()>;
    void setViewBoxSource(ViewBoxSource source) { m_viewBoxSource = std::move(source); }

    void BeginContact(b2Contact* contact) override;
    void EndContact(b2Contact* contact) override;
    void PreSolve(b2Contact* contact, const b2Manifold* oldManifold) override;

    // Whether the fixture's box lies inside `box`; touching its edge counts as inside. A fixture
    // without a broad-phase box (its body is disabled) is not inside.
    static bool boxContainsFixture(const b2AABB& box, b2Fixture* fixture);

private:
    // The boundary rule; true when the contact was disabled for this step.
    bool disableOutsideBoundary(b2Contact* contact);

    ViewBoxSource m_viewBoxSource;
};
