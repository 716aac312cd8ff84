// Shapes and bodies the physics cannot hold: every shape, scale and place goes through the
// player's own path (the asset's shape, addToWorld, KXPBodyMass, KXPBodyMotion) into a world that
// steps with Box2D's assertions on, so that a value reaching one ends the test run. A body refused
// says so in one line naming its object; a valid one plays exactly as Box2D alone plays it.

#include "model/KXDebugLog.h"
#include "model/classes/KXModelCircle.h"
#include "model/classes/KXModelPolygon.h"
#include "model/references/KXAttributeShape.h"
#include "player/physics/KXPBodyMass.h"
#include "player/physics/KXPBodyMotion.h"
#include "player/physics/KXPPhysicsLimits.h"
#include "support/asset_world_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>
#include <string>
#include <vector>

using namespace cocos2d;
using kxtest::AssetWorld;
using kxtest::TestAsset;

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

class BodyLimits : public kxtest::AssetTest {
protected:
    // A placed asset model whose asset collides with that shape.
    static std::shared_ptr<KXModelObjectAsset> modelWith(const std::shared_ptr<KXModelPolygon>& shape) {
        std::shared_ptr<KXModelObjectAsset> model = kxtest::boxAssetModel();
        model->asset()->collisionShapeAttribute()->setValue(shape, true);
        return model;
    }
    static std::shared_ptr<KXModelPolygon> polygon(const std::vector<CCPoint>& points) {
        std::shared_ptr<KXModelPolygon> shape = createModel<KXModelPolygon>();
        for (const CCPoint& point : points) {
            shape->addPoint(point, true);
        }
        return shape;
    }
    // A side x side square around (x, y), in points.
    static std::shared_ptr<KXModelPolygon> square(float side, float x, float y) {
        const float half = side / 2.0f;
        return polygon(
            {{x - half, y - half}, {x + half, y - half}, {x + half, y + half}, {x - half, y + half}});
    }
    static std::shared_ptr<KXModelPolygon> circle(const CCPoint& centre, float radius) {
        std::shared_ptr<KXModelCircle> shape = createModel<KXModelCircle>();
        shape->addPoint(centre, true);
        shape->addPoint(CCPoint(centre.x + radius, centre.y), true);
        return shape;
    }
    // The log lines that name the object's model.
    int linesNaming(const KXPObjectAsset& object) const {
        const std::string name = "(model " + std::to_string(object.assetModel()->id()) + ")";
        int count = 0;
        for (const std::string& line : log.lines()) {
            count += line.find(name) != std::string::npos ? 1 : 0;
        }
        return count;
    }
    static bool finite(const b2Body& body) {
        return body.GetPosition().IsValid() && std::isfinite(body.GetAngle()) &&
               body.GetLinearVelocity().IsValid() && std::isfinite(body.GetAngularVelocity());
    }

    KXDebugLogCapture log;
};

// --- far-off shapes: Box2D's inertia about the centre is lost in rounding ---

TEST_F(BodyLimits, AShapeFarOffItsOriginStaysStillWithOneLineInsteadOfStoppingThePhysics) {
    AssetWorld field;
    field.world.SetGravity(b2Vec2(0.0f, -10.0f));
    // A 20 point square 100,000 points from its object's origin, as a unit set moving has it.
    TestAsset* far = field.place(modelWith(square(20, 100000, 0)), CCPointZero);
    ASSERT_NE(far->getBody(), nullptr);
    EXPECT_FALSE(KXPBodyMass::setType(far->getBody(), b2_dynamicBody));
    EXPECT_EQ(far->getBody()->GetType(), b2_staticBody);
    EXPECT_FALSE(KXPBodyMass::setType(far->getBody(), b2_dynamicBody)); // said once
    field.run(10);
    EXPECT_EQ(linesNaming(*far), 1);
    EXPECT_TRUE(log.contains("[KXPObjectAsset] - " + far->assetModel()->name() + " (model " +
                             std::to_string(far->assetModel()->id()) +
                             ") stays still: its shape lies 5000 m from its body's origin, too far for the "
                             "physics to turn it about its centre"));

    // A moving body whose own far-off shape comes back after a look (looks weigh nothing), or
    // whose rotation is set free, stays still too.
    TestAsset* looked = field.place(modelWith(square(20, -100000, 100000)), CCPoint(0, 500));
    const std::shared_ptr<KXModelPolygon> look = square(40, 0, 0);
    looked->pushAnimation(KXPObjectAsset::kDisplayMove, nullptr, look);
    ASSERT_TRUE(KXPBodyMass::setType(looked->getBody(), b2_dynamicBody));
    looked->popAnimation(KXPObjectAsset::kDisplayMove, nullptr, look);
    EXPECT_EQ(looked->getBody()->GetType(), b2_staticBody);
    TestAsset* fixed = field.place(modelWith(square(20, 0, 100000)), CCPoint(0, -500));
    KXPBodyMass::setFixedRotation(fixed->getBody(), true);
    ASSERT_TRUE(KXPBodyMass::setType(fixed->getBody(), b2_dynamicBody));
    KXPBodyMass::setFixedRotation(fixed->getBody(), false);
    EXPECT_EQ(fixed->getBody()->GetType(), b2_staticBody);
    field.run(10);
    EXPECT_EQ(linesNaming(*looked), 1);
    EXPECT_EQ(linesNaming(*fixed), 1);
}

// Box2D alone, in a child process: makes a dynamic body of the shape and steps it, ending well
// unless one of Box2D's assertions stops it.
void weighAlone(const b2Shape& shape) {
    b2World alone(b2Vec2(0.0f, -10.0f));
    b2BodyDef definition;
    definition.type = b2_dynamicBody;
    b2Body* body = alone.CreateBody(&definition);
    body->CreateFixture(&shape, KXPObjectAsset::kFixtureDensity);
    alone.Step(kxtest::kFrame, 6, 6);
    std::exit(body->GetPosition().y < 0.0f ? 0 : 1);
}

// The guard keeps a body still exactly where Box2D would stop, and nowhere nearer: the first
// distance from its origin (in sizes of the shape) at which it refuses a square or a circle is
// the first at which Box2D alone stops, and the one before it falls as Box2D makes it fall.
TEST_F(BodyLimits, TheFarShapeGuardActsExactlyWhereBox2DWouldStop) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    b2World world(b2Vec2(0.0f, -10.0f));
    b2BodyDef definition;
    definition.type = b2_dynamicBody;
    b2Body* body = world.CreateBody(&definition);
    const auto refuses = [&](const b2Shape& shape) {
        b2FixtureDef fixture;
        fixture.shape = &shape;
        fixture.density = KXPObjectAsset::kFixtureDensity;
        return !KXPBodyMass::canTurn(*body, false, nullptr, &fixture);
    };
    const auto square = [](float sizes) {
        b2PolygonShape shape;
        shape.SetAsBox(0.5f, 0.5f, b2Vec2(sizes, 0.0f), 0.0f);
        return shape;
    };
    const auto circle = [](float diameters) {
        b2CircleShape shape;
        shape.m_radius = 0.5f;
        shape.m_p.Set(0.0f, diameters);
        return shape;
    };
    // A square 400 of its sizes off its origin moves.
    EXPECT_FALSE(refuses(square(400.0f)));
    float first = 0.0f;
    for (float sizes = 100.0f; sizes < 100000.0f && first == 0.0f; sizes += 1.0f) {
        first = refuses(square(sizes)) ? sizes : 0.0f;
    }
    ASSERT_GT(first, 400.0f);
    EXPECT_EXIT(weighAlone(square(first - 1.0f)), ::testing::ExitedWithCode(0), "") << first - 1.0f;
    EXPECT_DEATH(weighAlone(square(first)), "") << first;
    first = 0.0f;
    for (float diameters = 10.0f; diameters < 100000.0f && first == 0.0f; diameters += 1.0f) {
        first = refuses(circle(diameters)) ? diameters : 0.0f;
    }
    ASSERT_GT(first, 180.0f);
    EXPECT_EXIT(weighAlone(circle(first - 1.0f)), ::testing::ExitedWithCode(0), "") << first - 1.0f;
    EXPECT_DEATH(weighAlone(circle(first)), "") << first;
}

// A shape an editor makes, at a sane scale and offset, plays exactly as Box2D alone plays it.
TEST_F(BodyLimits, AValidShapeKeepsItsBodyMassAndPath) {
    const std::vector<std::shared_ptr<KXModelPolygon>> shapes = {
        square(20, 0, 0),
        square(20, 600, -400),
        polygon({{-60, -20}, {80, -30}, {90, 40}, {10, 70}, {-70, 30}}),
        polygon({{0, 0}, {20000, 0}, {20000, 4}, {0, 4}}),
        circle(CCPoint(300, 0), 5),
        circle(CCPointZero, 30),
    };
    for (const std::shared_ptr<KXModelPolygon>& shape : shapes) {
        AssetWorld field;
        field.world.SetGravity(b2Vec2(0.0f, -10.0f));
        TestAsset* object = field.place(modelWith(shape), CCPoint(100, 200), [](TestAsset& made) {
            made.setScaleX(1.5f);
            made.setScaleY(-0.5f);
            made.setRotation(30.0f);
        });
        ASSERT_NE(object->getBody(), nullptr);
        ASSERT_TRUE(KXPBodyMass::setType(object->getBody(), b2_dynamicBody));
        b2Body* body = object->getBody();
        body->SetAngularVelocity(2.0f);

        // The same body made straight in Box2D, with nothing of the player between.
        b2World alone(b2Vec2(0.0f, -10.0f));
        b2BodyDef definition;
        definition.position = body->GetPosition();
        definition.angle = body->GetAngle();
        b2Body* twin = alone.CreateBody(&definition);
        b2FixtureDef fixture = shape->fixtureDef(1.5f, -0.5f);
        std::unique_ptr<b2Shape> owned(const_cast<b2Shape*>(fixture.shape));
        fixture.density = KXPObjectAsset::kFixtureDensity;
        twin->CreateFixture(&fixture);
        twin->SetType(b2_dynamicBody);
        twin->SetSleepingAllowed(false);
        twin->SetAngularVelocity(2.0f);

        EXPECT_EQ(body->GetMass(), twin->GetMass());
        EXPECT_EQ(body->GetInertia(), twin->GetInertia());
        for (int step = 0; step < 30; ++step) {
            field.world.Step(kxtest::kFrame, 6, 6);
            alone.Step(kxtest::kFrame, 6, 6);
        }
        EXPECT_EQ(body->GetPosition(), twin->GetPosition());
        EXPECT_EQ(body->GetAngle(), twin->GetAngle());
        EXPECT_EQ(linesNaming(*object), 0);
    }
}

// --- the sweep: every kind of damaged shape, scale and place, set moving and stepped ---

struct Case {
    std::string what;
    std::shared_ptr<KXModelPolygon> shape;
    CCPoint scale = CCPoint(1, 1);
    CCPoint place = CCPointZero;
    float rotation = 0.0f;
};

std::vector<CCPoint> ring(int count, float radius, const CCPoint& centre = CCPointZero) {
    std::vector<CCPoint> points;
    for (int index = 0; index < count; ++index) {
        const float angle = 6.2831853f * static_cast<float>(index) / static_cast<float>(count);
        points.emplace_back(centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle));
    }
    return points;
}

class BodyLimitsSweep : public BodyLimits {
protected:
    std::vector<Case> cases() const {
        std::vector<Case> all;
        const std::vector<float> offsets = {1e3f,  1e4f,  1e5f,  1e6f,  1e7f, 1e9f,
                                            1e12f, 1e15f, 1e20f, 1e30f, 3e38f};
        for (const float offset : offsets) {
            for (const float sign : {1.0f, -1.0f}) {
                const float at = sign * offset;
                all.push_back({"square off x " + std::to_string(at), square(20, at, 0)});
                all.push_back({"square off both " + std::to_string(at), square(20, at, -at)});
                all.push_back({"circle off " + std::to_string(at), circle(CCPoint(0, at), 10)});
                all.push_back({"tiny circle off " + std::to_string(at), circle(CCPoint(at, 0), 0.001f)});
            }
        }
        for (int count = 1; count <= 9; ++count) {
            all.push_back({std::to_string(count) + " points", polygon(ring(count, 40))});
            all.push_back(
                {std::to_string(count) + " points far", polygon(ring(count, 40, CCPoint(3e5f, 0)))});
            all.push_back({std::to_string(count) + " tiny points", polygon(ring(count, 1e-3f))});
            all.push_back({std::to_string(count) + " huge points", polygon(ring(count, 1e30f))});
        }
        all.push_back({"collinear", polygon({{0, 0}, {10, 0}, {20, 0}, {30, 0}})});
        all.push_back({"nearly collinear", polygon({{0, 0}, {1000, 0}, {500, 1e-3f}})});
        all.push_back({"duplicates", polygon({{0, 0}, {0, 0}, {10, 10}, {10, 10}})});
        all.push_back({"near duplicates", polygon({{0, 0}, {0.01f, 0}, {0, 0.01f}, {20, 20}})});
        all.push_back({"sliver", polygon({{0, 0}, {1e5f, 0}, {1e5f, 1e-3f}, {0, 1e-3f}})});
        all.push_back({"at a float's largest", polygon({{3e38f, 3e38f}, {-3e38f, 3e38f}, {0, -3e38f}})});
        for (const float bad : {kNaN, kInf, -kInf}) {
            all.push_back({"a point " + std::to_string(bad), polygon({{0, 0}, {20, 0}, {bad, 20}})});
            all.push_back({"circle centre " + std::to_string(bad), circle(CCPoint(bad, 0), 10)});
            all.push_back({"circle radius " + std::to_string(bad), circle(CCPointZero, bad)});
        }
        for (const float radius : {0.0f, 1e-9f, 1e-3f, 0.2f, 1e6f, 1e9f, 1e30f, 3e38f}) {
            all.push_back({"circle radius " + std::to_string(radius), circle(CCPointZero, radius)});
        }
        for (const float scale : {0.0f, 1e-9f, 1e-3f, 1e3f, 1e9f, 1e30f, -1.0f, -1e30f, kNaN, kInf, -kInf}) {
            all.push_back({"square scaled " + std::to_string(scale), square(40, 0, 0), CCPoint(scale, 1)});
            all.push_back(
                {"circle scaled " + std::to_string(scale), circle(CCPointZero, 20), CCPoint(1, scale)});
            all.push_back(
                {"off square scaled " + std::to_string(scale), square(20, 500, 0), CCPoint(scale, scale)});
        }
        for (const float place : {1e10f, 1e16f, 2e16f, 1e30f, 3e38f, -3e38f, kNaN, kInf}) {
            all.push_back(
                {"placed at " + std::to_string(place), square(40, 0, 0), CCPoint(1, 1), CCPoint(place, 0)});
            all.push_back({"circle placed at " + std::to_string(place), circle(CCPointZero, 20),
                           CCPoint(1, 1), CCPoint(0, place)});
        }
        for (const float rotation : {kNaN, kInf, 1e30f}) {
            all.push_back({"turned " + std::to_string(rotation), square(40, 0, 0), CCPoint(1, 1), CCPointZero,
                           rotation});
        }
        return all;
    }
};

TEST_F(BodyLimitsSweep, NoShapeScaleOrPlaceStopsThePhysicsAndEachRefusalIsOneLine) {
    AssetWorld field;
    field.world.SetGravity(b2Vec2(0.0f, -10.0f));
    field.place(kxtest::boxAssetModel(CCSize(4000, 40)), CCPoint(0, -100));
    struct Placed {
        const Case* from;
        TestAsset* object;
    };
    const std::vector<Case> all = cases();
    std::vector<Placed> placed;
    for (const Case& sweep : all) {
        TestAsset* object = field.place(modelWith(sweep.shape), sweep.place, [&](TestAsset& made) {
            made.setScaleX(sweep.scale.x);
            made.setScaleY(sweep.scale.y);
            made.setRotation(sweep.rotation);
        });
        if (b2Body* body = object->getBody()) {
            KXPBodyMass::setType(body, b2_dynamicBody);
            KXPBodyMass::setFixedRotation(body, true);
            KXPBodyMass::setFixedRotation(body, false);
        }
        placed.push_back({&sweep, object});
    }
    // Each shape also as the look of a valid moving body, and back.
    for (const Case& sweep : all) {
        TestAsset* looked = field.place(kxtest::boxAssetModel(), CCPoint(0, 300));
        KXPBodyMass::setType(looked->getBody(), b2_dynamicBody);
        looked->pushAnimation(KXPObjectAsset::kDisplayMove, nullptr, sweep.shape);
        looked->popAnimation(KXPObjectAsset::kDisplayMove, nullptr, sweep.shape);
        EXPECT_LE(linesNaming(*looked), 1) << sweep.what;
    }
    field.run(30);

    int moving = 0;
    for (const Placed& entry : placed) {
        b2Body* body = entry.object->getBody();
        const bool plays = body != nullptr && body->GetType() == b2_dynamicBody;
        moving += plays ? 1 : 0;
        if (body != nullptr) {
            EXPECT_TRUE(finite(*body)) << entry.from->what;
        }
        // An object scaled to nothing has no body to refuse.
        const bool vanished = entry.from->scale.x == 0.0f || entry.from->scale.y == 0.0f;
        EXPECT_EQ(linesNaming(*entry.object), plays || vanished ? 0 : 1) << entry.from->what;
    }
    EXPECT_GT(moving, 20);
}

// --- places and speeds the game gives a body ---

TEST_F(BodyLimits, MovesAndSpeedsPastWhatThePhysicsHoldsNeverReachIt) {
    AssetWorld field;
    field.world.SetGravity(KXPPhysicsLimits::gravity(0.0f, -1e30f));
    EXPECT_EQ(field.world.GetGravity(), b2Vec2(0.0f, -KXPPhysicsLimits::kMaxGravity));
    field.place(kxtest::boxAssetModel(CCSize(4000, 40)), CCPoint(0, -100));
    std::vector<TestAsset*> boxes;
    for (int index = 0; index < 6; ++index) {
        boxes.push_back(field.place(kxtest::boxAssetModel(), CCPoint(index * 30.0f, -60)));
        KXPBodyMass::setType(boxes.back()->getBody(), b2_dynamicBody);
    }
    const b2Vec2 speeds[] = {{kNaN, 0}, {kInf, -kInf}, {1e30f, 1e30f}, {-3e38f, 0}, {0, 1e7f}, {3, 4}};
    const float spins[] = {kNaN, kInf, -1e30f, 1e5f, 0.5f, -kInf};
    for (int index = 0; index < 6; ++index) {
        b2Body* body = boxes[static_cast<size_t>(index)]->getBody();
        KXPBodyMotion::setLinearVelocity(body, speeds[index]);
        KXPBodyMotion::setAngularVelocity(body, spins[index]);
    }
    // A speed that is not a number leaves the body's own; a huge one keeps its direction.
    EXPECT_EQ(boxes[0]->getBody()->GetLinearVelocity(), b2Vec2(0, 0));
    EXPECT_NEAR(boxes[2]->getBody()->GetLinearVelocity().x, KXPPhysicsLimits::kMaxSpeed * 0.70710678f, 1.0f);
    EXPECT_FLOAT_EQ(boxes[4]->getBody()->GetLinearVelocity().y, KXPPhysicsLimits::kMaxSpeed);
    EXPECT_EQ(boxes[5]->getBody()->GetLinearVelocity(), b2Vec2(3, 4));
    EXPECT_EQ(boxes[3]->getBody()->GetAngularVelocity(), KXPPhysicsLimits::kMaxSpin);

    // Moves the physics cannot hold leave the body where it stands, said once for its object.
    const b2Vec2 before = boxes[1]->getBody()->GetPosition();
    EXPECT_FALSE(KXPBodyMotion::moveTo(boxes[1]->getBody(), b2Vec2(kNaN, 0), 0.0f));
    EXPECT_FALSE(KXPBodyMotion::moveTo(boxes[1]->getBody(), b2Vec2(0, 2e15f), 0.0f));
    EXPECT_FALSE(KXPBodyMotion::moveTo(boxes[1]->getBody(), b2Vec2(0, 0), kInf));
    boxes[2]->setBodyPosition(kNaN, 0.0f);
    EXPECT_EQ(boxes[1]->getBody()->GetPosition(), before);
    EXPECT_TRUE(KXPBodyMotion::moveTo(boxes[1]->getBody(), b2Vec2(1e14f, -1e14f), 1e30f));
    field.run(30);
    for (TestAsset* box : boxes) {
        EXPECT_TRUE(finite(*box->getBody()));
    }
    EXPECT_EQ(linesNaming(*boxes[1]), 1);
    EXPECT_EQ(linesNaming(*boxes[2]), 1);
    EXPECT_EQ(linesNaming(*boxes[0]), 0);
}

// Rays and materials: Box2D asserts on a ray of no length or that overflows its sums, and mixes
// two frictions by the square root of their product.
TEST_F(BodyLimits, RaysAndMaterialsStayWithinWhatBox2DTakes) {
    EXPECT_TRUE(KXPPhysicsLimits::castsRay(b2Vec2(0, 0), b2Vec2(1e-6f, 0)));
    EXPECT_FALSE(KXPPhysicsLimits::castsRay(b2Vec2(1e14f, 0), b2Vec2(1e14f + 1.0f, 0))); // no length there
    EXPECT_FALSE(KXPPhysicsLimits::castsRay(b2Vec2(0, 2e15f), b2Vec2(0, 0)));
    EXPECT_FALSE(KXPPhysicsLimits::castsRay(b2Vec2(-3e38f, 0), b2Vec2(3e38f, 0))); // overflows
    EXPECT_FALSE(KXPPhysicsLimits::castsRay(b2Vec2(0, 0), b2Vec2(kNaN, 1)));
    EXPECT_EQ(KXPPhysicsLimits::friction(-1.0f), 0.0f);
    EXPECT_EQ(KXPPhysicsLimits::friction(kNaN), 0.0f);
    EXPECT_EQ(KXPPhysicsLimits::friction(0.3f), 0.3f);
    EXPECT_EQ(KXPPhysicsLimits::material(-1e38f), -KXPPhysicsLimits::kMaxMaterial);
    EXPECT_EQ(KXPPhysicsLimits::material(kInf), 0.0f);

    // A world of bodies made with the game's damaged friction and bounce steps on.
    KXPGameplaySettings* values = KXPGameplaySettings::shared();
    AssetWorld field;
    field.world.SetGravity(b2Vec2(0.0f, -10.0f));
    const float frictions[] = {-1.0f, kNaN, 1e38f, 0.3f};
    const float bounces[] = {kInf, 1e38f, -1e38f, kNaN};
    std::vector<TestAsset*> made;
    for (int index = 0; index < 4; ++index) {
        values->setFriction(frictions[index]);
        values->setRestitution(bounces[index]);
        made.push_back(field.place(kxtest::boxAssetModel(), CCPoint(index * 35.0f, index * 45.0f)));
        KXPBodyMass::setType(made.back()->getBody(), index == 0 ? b2_staticBody : b2_dynamicBody);
        made.back()->getBody()->SetLinearVelocity(b2Vec2(0.0f, -50.0f));
    }
    field.run(60);
    for (TestAsset* object : made) {
        EXPECT_TRUE(finite(*object->getBody()));
    }
}

} // namespace
