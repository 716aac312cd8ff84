#pragma once

// The lit polygon of a light, rebuilt every frame: rays from the light centre through the corners
// of its square of influence and through the silhouette points of the fixtures that block light
// end where they first hit such a fixture, and the ray ends, sorted by angle around the centre,
// make one triangle fan. Kept apart from the light object so that the geometry runs without GL.
//
// Units: the centre and radius are in metres in the object layer's space; the fan is in points
// (20 per metre) relative to the centre. Every array is fixed in size: a fan never holds more than
// kCapacity vertices with its closing one, whatever the world holds.

#include "cocos2d.h"

#include <box2d/box2d.h>

#include <vector>

class KXPLightFan {
public:
    // Fan vertices including the closing copy of vertex 1 that drawing appends.
    static constexpr int kCapacity = 1024;
    // Blockers taken from one query.
    static constexpr int kMaxFixtures = 80;
    // Each target adds at most two vertices after the centre, and one place stays for the closing
    // vertex, so the targets stop here.
    static constexpr int kMaxTargets = (kCapacity - 2) / 2;
    static constexpr float kPointsPerMetre = 20.0f;
    // Half side of the box searched for blockers that hold the light itself, in metres.
    static constexpr float kInsideProbe = 0.05f;
    // Outward push of silhouette targets, in metres, so that grazing rays pass the corner.
    static constexpr float kSilhouetteOffset = 0.005f;
    // A ray that ends this much (metres) beyond its target passed it and struck something behind.
    static constexpr float kPassedTarget = 0.05f;
    // More rays than a fan can cast.
    static constexpr int kAnyRays = kCapacity;

    KXPLightFan();

    // Rebuilds the fan. Without shadows the fan is the centre and the four corners. A radius that
    // is not a positive finite number, or a centre that is not finite, leaves the fan empty.
    // Shadows that would take more than `maxRays` rays are not cast: the fan is built without
    // them and the answer is false.
    bool build(b2World* world, const b2Vec2& centre, float radius, bool shadows, int maxRays = kAnyRays);
    // No vertices at all (nothing to draw).
    void clear();

    // Vertices used, the centre included, the closing vertex not.
    int vertexCount() const { return m_vertexCount; }
    const cocos2d::ccVertex2F& vertex(int index) const { return m_vertices[index]; }
    int targetCount() const { return m_targetCount; }
    // Rays the last build cast.
    int raysCast() const { return m_raysCast; }
    const b2Vec2& target(int index) const { return m_targets[index]; }
    const b2Vec2& targetOffset(int index) const { return m_offsets[index]; }

    // Sorts vertices 1 .. count-1 by angle (largest first), appends vertex 1 again to close the
    // fan and fills the texture coordinates of the light map for that radius. Answers the number
    // of vertices to draw as a fan, 0 when there is nothing to draw.
    int prepareForDrawing(float radius);
    const cocos2d::ccVertex2F* vertices() const { return m_vertices; }
    const cocos2d::ccTex2F* texCoords() const { return m_texCoords; }

    // Tangent points from p to the circle (centre m, radius r); false when p lies inside it (or
    // the radius is not positive).
    static bool tangentPoints(const b2Vec2& p, const b2Vec2& m, float r, b2Vec2* first, b2Vec2* second);
    // Light-blocking fixtures overlapping the box, at most kMaxFixtures.
    static std::vector<b2Fixture*> blockersIn(b2World* world, const b2AABB& box);

private:
    // The square's four corners, after the centre.
    void appendCorners();
    // False once the target list is full.
    bool addTarget(const b2Vec2& target, const b2Vec2& offset);
    void addCircleTargets(const b2Fixture& fixture);
    void addPolygonTargets(const b2Fixture& fixture);
    void castRays(b2World* world);
    void append(const b2Vec2& metres);
    bool holdsCentre(b2World* world) const;

    b2Vec2 m_centre;
    float m_radius = 0.0f;
    cocos2d::ccVertex2F m_vertices[kCapacity];
    cocos2d::ccTex2F m_texCoords[kCapacity];
    b2Vec2 m_targets[kCapacity];
    b2Vec2 m_offsets[kCapacity];
    int m_targetCount = 0;
    int m_vertexCount = 0;
    int m_raysCast = 0;
};
