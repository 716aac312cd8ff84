// The lit polygon of a light, without GL: the square without blockers, a light inside a blocker,
// fixtures that do not block and sensors, circle tangents, polygon silhouette points pushed
// outward, rays that graze a corner, stop at a wall behind it or stop short, the angle sort and
// closing vertex with the light-map coordinates, and the fan bound under a hundred blockers.

#include "player/objects/effects/KXPLightFan.h"
#include "support/light_test_support.h"

#include "cocos2d.h"

#include <box2d/box2d.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace cocos2d;
using kxtest::Blockers;

namespace {

// The light sits at (10, 10) m, that is (200, 200) points.
const b2Vec2 kCentre(10.0f, 10.0f);

CCPoint points(const b2Vec2& metres) {
    return CCPoint(metres.x * 20.0f, metres.y * 20.0f);
}

std::vector<CCPoint> fanOf(const KXPLightFan& fan) {
    std::vector<CCPoint> vertices;
    for (int index = 0; index < fan.vertexCount(); ++index) {
        vertices.emplace_back(fan.vertex(index).x, fan.vertex(index).y);
    }
    return vertices;
}

bool contains(const std::vector<CCPoint>& vertices, const CCPoint& wanted, float tolerance = 0.05f) {
    for (const CCPoint& vertex : vertices) {
        if (vertex.getDistance(wanted) <= tolerance) {
            return true;
        }
    }
    return false;
}

class LightFan : public ::testing::Test {
protected:
    b2World world{b2Vec2(0.0f, 0.0f)};
    KXPLightFan fan;
};

TEST_F(LightFan, WithoutBlockersTheFanIsTheSquareOfInfluence) {
    // Without shadows: the centre and the four corners, in their order.
    fan.build(&world, kCentre, 2.0f, false);
    EXPECT_EQ(fanOf(fan), (std::vector<CCPoint>{CCPoint(0, 0), CCPoint(-40, -40), CCPoint(-40, 40),
                                                CCPoint(40, 40), CCPoint(40, -40)}));

    // With shadows and nothing in the way, each corner ray adds its corner and the point at the
    // radius in that direction.
    fan.build(&world, kCentre, 2.0f, true);
    const std::vector<CCPoint> shadowed = fanOf(fan);
    ASSERT_EQ(shadowed.size(), 9u);
    const float reach = 40.0f / std::sqrt(2.0f);
    for (const CCPoint& corner : {CCPoint(-1, -1), CCPoint(-1, 1), CCPoint(1, 1), CCPoint(1, -1)}) {
        EXPECT_TRUE(contains(shadowed, corner * 40.0f));
        EXPECT_TRUE(contains(shadowed, corner * reach));
    }
    EXPECT_EQ(fan.targetCount(), 4);
}

TEST_F(LightFan, ALightInsideABlockerIsDarkAndOneInsideAnythingElseIsNot) {
    Blockers blockers(world);
    blockers.box(points(kCentre), CCSize(20, 20));
    fan.build(&world, kCentre, 2.0f, true);
    EXPECT_EQ(fan.vertexCount(), 1);
    EXPECT_EQ(fan.prepareForDrawing(2.0f), 0);

    // The same light without shadows does not ask the world.
    fan.build(&world, kCentre, 2.0f, false);
    EXPECT_EQ(fan.vertexCount(), 5);

    b2World open(b2Vec2(0.0f, 0.0f));
    Blockers glass(open);
    glass.box(points(kCentre), CCSize(20, 20), 0.0f, false);
    fan.build(&open, kCentre, 2.0f, true);
    EXPECT_EQ(fan.vertexCount(), 9);
}

TEST_F(LightFan, OnlyBlockingFixturesCountAndSensorsCastSilhouettesWithoutStoppingRays) {
    Blockers blockers(world);
    // Beside the light, in its square: a shape whose object lets light through...
    blockers.box(points(kCentre + b2Vec2(1.0f, 0.0f)), CCSize(10, 10), 0.0f, false);
    fan.build(&world, kCentre, 2.0f, true);
    EXPECT_EQ(fan.targetCount(), 4);
    EXPECT_EQ(fan.vertexCount(), 9);

    // ...and a sensor of a blocking object: its four corners become targets, and every ray,
    // through it too, reaches the radius (two vertices per target).
    blockers.box(points(kCentre + b2Vec2(0.0f, 1.0f)), CCSize(10, 10), 0.0f, true, true);
    fan.build(&world, kCentre, 2.0f, true);
    EXPECT_EQ(fan.targetCount(), 8);
    EXPECT_EQ(fan.vertexCount(), 17);
    for (int index = 1; index < fan.vertexCount(); index += 2) {
        const b2Vec2 target = fan.target((index - 1) / 2);
        EXPECT_NEAR(fan.vertex(index).x, target.x * 20.0f, 1e-3f);
        EXPECT_NEAR(fan.vertex(index).y, target.y * 20.0f, 1e-3f);
    }
}

TEST_F(LightFan, TangentPointsTouchTheCircleSquarelyAndAreMissingFromInside) {
    b2Vec2 first;
    b2Vec2 second;
    struct Case {
        b2Vec2 from, centre;
        float radius;
    };
    // On the x axis (the dy = 0 branch), above, and off both axes.
    for (const Case& c : {Case{b2Vec2(2, 0), b2Vec2(0, 0), 1.0f}, Case{b2Vec2(0, 3), b2Vec2(0, 1), 1.0f},
                          Case{b2Vec2(-4, 5), b2Vec2(1, 2), 2.5f}}) {
        ASSERT_TRUE(KXPLightFan::tangentPoints(c.from, c.centre, c.radius, &first, &second));
        for (const b2Vec2& touch : {first, second}) {
            EXPECT_NEAR((touch - c.centre).Length(), c.radius, 1e-4f);
            EXPECT_NEAR(b2Dot(touch - c.centre, touch - c.from), 0.0f, 1e-4f);
        }
        EXPECT_GT((first - second).Length(), 0.1f);
    }
    ASSERT_TRUE(KXPLightFan::tangentPoints(b2Vec2(2, 0), b2Vec2(0, 0), 1.0f, &first, &second));
    EXPECT_NEAR(first.x, 0.5f, 1e-5f);
    EXPECT_NEAR(std::fabs(first.y), std::sqrt(3.0f) / 2.0f, 1e-5f);
    EXPECT_NEAR(second.y, -first.y, 1e-5f);

    EXPECT_FALSE(KXPLightFan::tangentPoints(b2Vec2(0.5f, 0), b2Vec2(0, 0), 1.0f, &first, &second));
    EXPECT_FALSE(KXPLightFan::tangentPoints(b2Vec2(2, 0), b2Vec2(0, 0), 0.0f, &first, &second));
}

TEST_F(LightFan, ACircleAddsItsTwoTangentsPushedApartAndNoneWhenItHoldsTheLight) {
    Blockers blockers(world);
    const b2Vec2 middle = kCentre + b2Vec2(2.0f, 0.0f);
    blockers.circle(points(middle), 10.0f);
    fan.build(&world, kCentre, 4.0f, true);
    ASSERT_EQ(fan.targetCount(), 6);
    const b2Vec2 push = fan.targetOffset(4);
    EXPECT_NEAR(push.Length(), KXPLightFan::kSilhouetteOffset, 1e-6f);
    EXPECT_NEAR(fan.targetOffset(5).x, -push.x, 1e-7f);
    EXPECT_NEAR(fan.targetOffset(5).y, -push.y, 1e-7f);
    for (int index : {4, 5}) {
        const b2Vec2 touch = kCentre + fan.target(index) - fan.targetOffset(index);
        EXPECT_NEAR((touch - middle).Length(), 0.5f, 1e-4f);
    }
    // The first is pushed away from the circle.
    EXPECT_GT(b2Dot(push, kCentre + fan.target(4) - middle), 0.0f);

    // A light anywhere inside the circle is dark, with no tangents (only the square's corners).
    for (const b2Vec2& inside : {middle, middle + b2Vec2(0.3f, -0.2f)}) {
        fan.build(&world, inside, 4.0f, true);
        EXPECT_EQ(fan.vertexCount(), 1);
        EXPECT_EQ(fan.targetCount(), 4);
        EXPECT_EQ(fan.prepareForDrawing(4.0f), 0);
    }
    // A blocking sensor holds the light as well; a circle that lets light through does not.
    b2World sensing(b2Vec2(0.0f, 0.0f));
    Blockers sensor(sensing);
    sensor.circle(points(middle), 10.0f, true, true);
    fan.build(&sensing, middle, 4.0f, true);
    EXPECT_EQ(fan.vertexCount(), 1);
    b2World open(b2Vec2(0.0f, 0.0f));
    Blockers glass(open);
    glass.circle(points(middle), 10.0f, false);
    fan.build(&open, middle, 4.0f, true);
    EXPECT_EQ(fan.vertexCount(), 9);
}

TEST_F(LightFan, PolygonCornersArePushedOutwardAndTurnWithTheBody) {
    for (float angle : {0.0f, 30.0f}) {
        b2World turned(b2Vec2(0.0f, 0.0f));
        Blockers blockers(turned);
        const b2Vec2 middle = kCentre + b2Vec2(2.0f, 0.0f);
        blockers.box(points(middle), CCSize(20, 20), angle);
        fan.build(&turned, kCentre, 4.0f, true);
        ASSERT_EQ(fan.targetCount(), 8) << angle;
        const b2Rot rotation(angle * 0.017453292f);
        const b2Vec2 local[4] = {b2Vec2(-0.5f, -0.5f), b2Vec2(0.5f, -0.5f), b2Vec2(0.5f, 0.5f),
                                 b2Vec2(-0.5f, 0.5f)};
        for (int corner = 0; corner < 4; ++corner) {
            const b2Vec2 offset = fan.targetOffset(4 + corner);
            const b2Vec2 exact = kCentre + fan.target(4 + corner) - offset;
            const b2Vec2 expected = middle + b2Mul(rotation, local[corner]);
            EXPECT_NEAR(exact.x, expected.x, 1e-4f) << angle << " corner " << corner;
            EXPECT_NEAR(exact.y, expected.y, 1e-4f) << angle << " corner " << corner;
            EXPECT_NEAR(offset.Length(), KXPLightFan::kSilhouetteOffset, 1e-6f);
            // Along the diagonal, away from the middle.
            const b2Vec2 outward = expected - middle;
            EXPECT_NEAR(b2Dot(offset, outward) / (offset.Length() * outward.Length()), 1.0f, 1e-3f);
        }
    }
}

TEST_F(LightFan, RaysGrazeCornersStopAtWallsBehindThemAndStopShortAtNearerShapes) {
    Blockers blockers(world);
    // A crate 1.5 to 2.5 m right of the light, and a wall at 3.8 m that covers only the upper
    // rays.
    blockers.box(points(kCentre + b2Vec2(2.0f, 0.0f)), CCSize(20, 20));
    blockers.box(points(kCentre + b2Vec2(4.0f, 3.0f)), CCSize(8, 80));
    fan.build(&world, kCentre, 5.0f, true);
    const std::vector<CCPoint> vertices = fanOf(fan);

    // The upper near corner: its ray passes it and strikes the wall, so the exact corner comes
    // first and the wall point after it.
    const b2Vec2 upper(1.5f, 0.5f);
    EXPECT_TRUE(contains(vertices, points(upper), 1e-3f));
    // (The ray aims at the pushed corner, a little above the exact one.)
    const b2Vec2 direction = (1.0f / upper.Length()) * upper;
    const float wallDistance = 3.8f / direction.x;
    EXPECT_TRUE(contains(vertices, points(wallDistance * direction), 0.5f));

    // The lower near corner grazes past into the open: its pushed target and the point at the
    // radius beyond it.
    int lower = -1;
    for (int index = 0; index < fan.targetCount(); ++index) {
        const b2Vec2 exact = fan.target(index) - fan.targetOffset(index);
        if ((exact - b2Vec2(1.5f, -0.5f)).Length() < 1e-4f) {
            lower = index;
        }
    }
    ASSERT_GE(lower, 0);
    const b2Vec2 pushed = fan.target(lower);
    EXPECT_TRUE(contains(vertices, points(pushed), 1e-3f));
    const b2Vec2 far = fan.targetOffset(lower) + (5.0f / pushed.Length()) * pushed;
    EXPECT_TRUE(contains(vertices, points(far), 1e-3f));
    EXPECT_FALSE(contains(vertices, points(b2Vec2(1.5f, -0.5f)), 1e-3f));

    // The far corners hide behind the crate: their rays stop on its near face, and the corners
    // themselves never enter the fan.
    EXPECT_FALSE(contains(vertices, points(b2Vec2(2.5f, 0.5f)), 0.5f));
    EXPECT_FALSE(contains(vertices, points(b2Vec2(2.5f, -0.5f)), 0.5f));
    EXPECT_TRUE(contains(vertices, points(b2Vec2(1.5f, 0.5f * 1.5f / 2.5f)), 0.05f));
    EXPECT_TRUE(contains(vertices, points(b2Vec2(1.5f, -0.5f * 1.5f / 2.5f)), 0.05f));
}

TEST_F(LightFan, DrawingSortsByAngleLargestFirstClosesTheFanAndMapsTheLightMap) {
    Blockers blockers(world);
    blockers.box(points(kCentre + b2Vec2(1.5f, 1.0f)), CCSize(12, 30), 20.0f);
    blockers.circle(points(kCentre + b2Vec2(-2.0f, 0.5f)), 8.0f);
    const float radius = 3.0f;
    fan.build(&world, kCentre, radius, true);
    const int count = fan.vertexCount();
    ASSERT_GT(count, 9);
    const int drawn = fan.prepareForDrawing(radius);
    ASSERT_EQ(drawn, count + 1);
    const ccVertex2F* vertices = fan.vertices();
    EXPECT_EQ(vertices[0].x, 0.0f);
    EXPECT_EQ(vertices[0].y, 0.0f);
    for (int index = 2; index < count; ++index) {
        EXPECT_GE(std::atan2(vertices[index - 1].y, vertices[index - 1].x),
                  std::atan2(vertices[index].y, vertices[index].x))
            << index;
    }
    EXPECT_EQ(vertices[count].x, vertices[1].x);
    EXPECT_EQ(vertices[count].y, vertices[1].y);
    const ccTex2F* coords = fan.texCoords();
    EXPECT_EQ(coords[0].u, 0.5f);
    EXPECT_EQ(coords[0].v, 0.5f);
    for (int index = 1; index <= count; ++index) {
        EXPECT_NEAR(coords[index].u, vertices[index].x * 0.03f / radius + 0.5f, 1e-5f);
        EXPECT_NEAR(coords[index].v, vertices[index].y * 0.03f / radius + 0.5f, 1e-5f);
    }
    // A square corner samples 0.6 beyond the map's centre, past its edge.
    fan.build(&world, kCentre, radius, false);
    fan.prepareForDrawing(radius);
    EXPECT_NEAR(std::fabs(fan.texCoords()[1].u - 0.5f), 0.6f, 1e-5f);
    EXPECT_NEAR(std::fabs(fan.texCoords()[1].v - 0.5f), 0.6f, 1e-5f);
}

TEST_F(LightFan, AHundredBlockersNeverOverrunTheFan) {
    Blockers blockers(world);
    // Octagons (8 silhouette points each) on a grid around the light, none holding it.
    const b2Vec2 centre(50.0f, 50.0f);
    int placed = 0;
    for (int row = -5; row <= 5 && placed < 100; ++row) {
        for (int column = -5; column <= 5 && placed < 100; ++column) {
            if (row == 0 && column == 0) {
                continue;
            }
            blockers.regular(points(centre + b2Vec2(1.2f * column, 1.2f * row)), 6.0f, 8);
            ++placed;
        }
    }
    ASSERT_EQ(placed, 100);
    b2AABB square;
    square.lowerBound = centre - b2Vec2(10.0f, 10.0f);
    square.upperBound = centre + b2Vec2(10.0f, 10.0f);
    EXPECT_EQ(KXPLightFan::blockersIn(&world, square).size(), static_cast<size_t>(KXPLightFan::kMaxFixtures));

    fan.build(&world, centre, 10.0f, true);
    EXPECT_LE(fan.targetCount(), KXPLightFan::kMaxTargets);
    EXPECT_GT(fan.targetCount(), 4 + 8 * 50);
    EXPECT_LE(fan.vertexCount(), KXPLightFan::kCapacity - 1);
    EXPECT_LE(fan.prepareForDrawing(10.0f), KXPLightFan::kCapacity);
}

TEST_F(LightFan, NoRadiusOrNoCentreGivesNoFan) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (float radius : {0.0f, -2.0f, nan, std::numeric_limits<float>::infinity()}) {
        fan.build(&world, kCentre, radius, true);
        EXPECT_EQ(fan.vertexCount(), 0) << radius;
        EXPECT_EQ(fan.prepareForDrawing(radius), 0);
    }
    fan.build(&world, b2Vec2(nan, 1.0f), 2.0f, true);
    EXPECT_EQ(fan.vertexCount(), 0);
}

} // namespace
