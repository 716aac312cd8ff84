#include "player/objects/effects/KXPLightFan.h"

#include "player/objects/effects/KXLightFixturesQueryCallback.h"
#include "player/objects/effects/KXLightFixturesRaycastCallback.h"
#include "player/physics/KXPPhysicsLimits.h"

#include <algorithm>
#include <cmath>

using namespace cocos2d;

namespace {

// Light-map texels per point of fan radius: the map's edge (0.5 from its centre) falls at
// 0.5 / 0.03 = 16.7 points per metre of radius, inside the square's half side of 20.
constexpr double kTexelsPerPoint = 0.03;

// Box2D leaves vectors shorter than its epsilon as they are when normalising.
b2Vec2 normalisedOrKept(const b2Vec2& vector) {
    b2Vec2 result = vector;
    result.Normalize();
    return result;
}

// Angle around the centre; a vertex without one sorts last.
float angleOf(const ccVertex2F& vertex) {
    const float angle = std::atan2(vertex.y, vertex.x);
    return std::isnan(angle) ? -10.0f : angle;
}

} // namespace

KXPLightFan::KXPLightFan() : m_centre(0.0f, 0.0f) {}

void KXPLightFan::clear() {
    m_vertexCount = 0;
    m_targetCount = 0;
    m_raysCast = 0;
}

bool KXPLightFan::build(b2World* world, const b2Vec2& centre, float radius, bool shadows, int maxRays) {
    clear();
    if (!(radius > 0.0f) || !std::isfinite(radius) || !centre.IsValid()) {
        return true;
    }
    m_centre = centre;
    m_radius = radius;
    m_vertices[0] = ccVertex2F{0.0f, 0.0f};
    m_vertexCount = 1;

    const b2Vec2 lower(centre.x - radius, centre.y - radius);
    const b2Vec2 upper(centre.x + radius, centre.y + radius);
    const b2Vec2 none(0.0f, 0.0f);
    addTarget(b2Vec2(lower.x, lower.y) - centre, none);
    addTarget(b2Vec2(lower.x, upper.y) - centre, none);
    addTarget(b2Vec2(upper.x, upper.y) - centre, none);
    addTarget(b2Vec2(upper.x, lower.y) - centre, none);

    if (!shadows || world == nullptr) {
        appendCorners();
        return true;
    }
    if (holdsCentre(world)) {
        return true;
    }
    b2AABB square;
    square.lowerBound = lower;
    square.upperBound = upper;
    for (b2Fixture* fixture : blockersIn(world, square)) {
        if (m_targetCount >= kMaxTargets) {
            break;
        }
        switch (fixture->GetType()) {
        case b2Shape::e_circle:
            addCircleTargets(*fixture);
            break;
        case b2Shape::e_polygon:
            addPolygonTargets(*fixture);
            break;
        default:
            // Edges and chains cast no silhouette of their own.
            break;
        }
    }
    if (m_targetCount > maxRays) {
        m_targetCount = 4;
        appendCorners();
        return false;
    }
    castRays(world);
    return true;
}

void KXPLightFan::appendCorners() {
    for (int index = 0; index < 4 && index < m_targetCount; ++index) {
        append(m_targets[index]);
    }
}

std::vector<b2Fixture*> KXPLightFan::blockersIn(b2World* world, const b2AABB& box) {
    KXLightFixturesQueryCallback query(kMaxFixtures);
    world->QueryAABB(&query, box);
    return query.fixtures();
}

bool KXPLightFan::holdsCentre(b2World* world) const {
    b2AABB probe;
    probe.lowerBound = m_centre - b2Vec2(kInsideProbe, kInsideProbe);
    probe.upperBound = m_centre + b2Vec2(kInsideProbe, kInsideProbe);
    for (b2Fixture* fixture : blockersIn(world, probe)) {
        if (fixture->TestPoint(m_centre)) {
            return true;
        }
    }
    return false;
}

bool KXPLightFan::addTarget(const b2Vec2& target, const b2Vec2& offset) {
    if (m_targetCount >= kMaxTargets) {
        return false;
    }
    m_targets[m_targetCount] = target;
    m_offsets[m_targetCount] = offset;
    ++m_targetCount;
    return true;
}

void KXPLightFan::addCircleTargets(const b2Fixture& fixture) {
    const b2CircleShape* circle = static_cast<const b2CircleShape*>(fixture.GetShape());
    const b2Vec2 middle = b2Mul(fixture.GetBody()->GetTransform(), circle->m_p);
    b2Vec2 first;
    b2Vec2 second;
    if (!tangentPoints(m_centre, middle, circle->m_radius, &first, &second)) {
        return;
    }
    const b2Vec2 push = kSilhouetteOffset * normalisedOrKept(first - middle);
    if (addTarget(first - m_centre + push, push)) {
        addTarget(second - m_centre - push, -push);
    }
}

void KXPLightFan::addPolygonTargets(const b2Fixture& fixture) {
    const b2PolygonShape* polygon = static_cast<const b2PolygonShape*>(fixture.GetShape());
    const b2Transform& transform = fixture.GetBody()->GetTransform();
    const int count = polygon->m_count;
    for (int index = 0; index < count; ++index) {
        const b2Vec2 turn = polygon->m_normals[index] - polygon->m_normals[(index + 1) % count];
        const b2Vec2 push = b2Mul(transform.q, kSilhouetteOffset * normalisedOrKept(turn));
        if (!addTarget(b2Mul(transform, polygon->m_vertices[index]) + push - m_centre, push)) {
            return;
        }
    }
}

void KXPLightFan::castRays(b2World* world) {
    m_raysCast = m_targetCount;
    for (int index = 0; index < m_targetCount; ++index) {
        const b2Vec2& target = m_targets[index];
        const b2Vec2& offset = m_offsets[index];
        const b2Vec2 reach = m_radius * normalisedOrKept(target);
        const b2Vec2 end = m_centre + reach;
        // Box2D refuses rays without length or out of its places (it asserts).
        if (!KXPPhysicsLimits::castsRay(m_centre, end)) {
            continue;
        }
        KXLightFixturesRaycastCallback ray;
        world->RayCast(&ray, m_centre, end);
        if (!ray.hit()) {
            append(target);
            append(offset + reach);
            continue;
        }
        const b2Vec2 hit = ray.point() - m_centre;
        if (hit.Length() > target.Length() + kPassedTarget) {
            append(target - offset);
        }
        append(hit);
    }
}

void KXPLightFan::append(const b2Vec2& metres) {
    // The last place belongs to the closing vertex.
    if (m_vertexCount >= kCapacity - 1) {
        return;
    }
    m_vertices[m_vertexCount] = ccVertex2F{metres.x * kPointsPerMetre, metres.y * kPointsPerMetre};
    ++m_vertexCount;
}

int KXPLightFan::prepareForDrawing(float radius) {
    if (m_vertexCount < 2 || !(radius > 0.0f) || !std::isfinite(radius)) {
        return 0;
    }
    std::sort(m_vertices + 1, m_vertices + m_vertexCount,
              [](const ccVertex2F& a, const ccVertex2F& b) { return angleOf(a) > angleOf(b); });
    m_vertices[m_vertexCount] = m_vertices[1];
    m_texCoords[0] = ccTex2F{0.5f, 0.5f};
    for (int index = 1; index <= m_vertexCount; ++index) {
        const ccVertex2F& vertex = m_vertices[index];
        m_texCoords[index] = ccTex2F{static_cast<GLfloat>(vertex.x * kTexelsPerPoint / radius + 0.5),
                                     static_cast<GLfloat>(vertex.y * kTexelsPerPoint / radius + 0.5)};
    }
    return m_vertexCount + 1;
}

bool KXPLightFan::tangentPoints(const b2Vec2& p, const b2Vec2& m, float r, b2Vec2* first, b2Vec2* second) {
    if (!(r > 0.0f)) {
        return false;
    }
    // In units of the radius, with the circle at the origin.
    const float dx = (p.x - m.x) / r;
    const float dy = (p.y - m.y) / r;
    const float q = dx * dx + dy * dy;
    if (!(q >= 1.0f)) {
        return false;
    }
    const float s = dy * std::sqrt(q - 1.0f);
    const float x1 = (dx - s) / q;
    const float x2 = (dx + s) / q;
    float y1;
    float y2;
    if (dy == 0.0f) {
        y1 = std::sqrt(std::max(0.0f, 1.0f - x1 * x1));
        y2 = -y1;
    } else {
        y1 = (1.0f - x1 * dx) / dy;
        y2 = (1.0f - x2 * dx) / dy;
    }
    *first = m + r * b2Vec2(x1, y1);
    *second = m + r * b2Vec2(x2, y2);
    return true;
}
