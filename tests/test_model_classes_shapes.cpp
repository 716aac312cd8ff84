// Collision shapes (polygons and circles) and the compound and asset models that carry them:
// stored forms, point editors, convexity, the Box2D shapes at a scale, and the guards that
// keep unusable hulls away from Box2D.

#include "model/KXMessagePackMap.h"
#include "model/KXModelController.h"
#include "model/attributes/KXAttributeGeometry.h"
#include "model/classes/KXModelAsset.h"
#include "model/classes/KXModelCircle.h"
#include "model/classes/KXModelComponentDamage.h"
#include "model/classes/KXModelObjectImage.h"
#include "model/classes/KXModelPolygon.h"
#include "model/classes/KXModelQueries.h"
#include "model/classes/KXModelSprite.h"
#include "model/classes/KXModelSpriteContainer.h"
#include "model/classes/KXShapeGeometry.h"
#include "model/references/KXAttributeShape.h"
#include "support/model_test_models.h"

#include "cocos2d.h"

#include <gtest/gtest.h>

#include <box2d/box2d.h>

#include <cmath>
#include <memory>
#include <vector>

using cocos2d::CCPoint;
using cocos2d::CCSize;

namespace {

class ShapeModels : public ::testing::Test {
protected:
    void SetUp() override { resetModelCore(); }
    void TearDown() override { resetModelCore(); }

    static std::shared_ptr<KXModelPolygon> polygon(const std::vector<CCPoint>& points) {
        auto shape = std::static_pointer_cast<KXModelPolygon>(KXModelPolygon::create());
        for (const CCPoint& point : points) {
            shape->addPoint(point, true);
        }
        return shape;
    }
    static std::shared_ptr<KXModelCircle> circle(const std::vector<CCPoint>& points) {
        auto shape = std::static_pointer_cast<KXModelCircle>(KXModelCircle::create());
        for (const CCPoint& point : points) {
            shape->addPoint(point, true);
        }
        return shape;
    }
};

// The stored form goes through the real key table, as the exporter's files do.
void installKeysOf(const KXModel& model) {
    KXMessagePackMap::setCollectingKeys(true);
    model.registerKeys();
    KXMessagePackMap::setCollectingKeys(false);
    KXMessagePackMap::KeyTable table;
    int next = 1;
    for (const std::string& name : KXMessagePackMap::registeredKeyNames()) {
        table[name] = next++;
    }
    KXMessagePackMap::installKeyTable(table);
}

std::vector<CCPoint> ring(int count) {
    std::vector<CCPoint> points;
    for (int i = 0; i < count; ++i) {
        points.emplace_back(static_cast<float>(i * 10), static_cast<float>(i % 2 == 0 ? 0 : 40));
    }
    return points;
}

TEST_F(ShapeModels, ScaledSquareBecomesTheExpectedPolygonInMetres) {
    auto square = polygon({{0, 0}, {20, 0}, {20, 20}, {0, 20}});
    b2FixtureDef definition = square->fixtureDef(2.0f, -1.0f);
    std::unique_ptr<const b2Shape> shape(definition.shape);
    ASSERT_NE(shape, nullptr);
    ASSERT_EQ(shape->GetType(), b2Shape::e_polygon);
    // x * 2 * 0.05; y * -1 * -0.05. Box2D orders the hull itself, so compare as a set.
    const auto* box = static_cast<const b2PolygonShape*>(shape.get());
    ASSERT_EQ(box->m_count, 4);
    const std::vector<b2Vec2> expected = {{0, 0}, {2, 0}, {2, 1}, {0, 1}};
    for (const b2Vec2& corner : expected) {
        bool found = false;
        for (int i = 0; i < box->m_count; ++i) {
            found = found || (std::fabs(box->m_vertices[i].x - corner.x) < 1e-5f &&
                              std::fabs(box->m_vertices[i].y - corner.y) < 1e-5f);
        }
        EXPECT_TRUE(found) << corner.x << "," << corner.y;
    }
    // Box2D's fixture defaults come with the shape.
    EXPECT_FLOAT_EQ(definition.friction, 0.2f);
    EXPECT_FLOAT_EQ(definition.density, 0.0f);
    EXPECT_FALSE(definition.isSensor);
    EXPECT_TRUE(square->isValidShape(2.0f, -1.0f));
}

TEST_F(ShapeModels, CircleCentreAndRadiusFollowTheScale) {
    auto round = circle({{10, 10}, {40, 50}});
    std::unique_ptr<b2Shape> shape = round->createShape(-2.0f, 1.0f);
    ASSERT_NE(shape, nullptr);
    ASSERT_EQ(shape->GetType(), b2Shape::e_circle);
    const auto* disc = static_cast<const b2CircleShape*>(shape.get());
    EXPECT_FLOAT_EQ(disc->m_p.x, -1.0f);
    EXPECT_FLOAT_EQ(disc->m_p.y, -0.5f);
    EXPECT_FLOAT_EQ(disc->m_radius, 5.0f); // 50 px * 0.05 * |-2|

    EXPECT_FLOAT_EQ(circle({{3, 4}})->radius(), 5.0f); // one point: distance from the origin
    EXPECT_FLOAT_EQ(circle({})->radius(), 0.0f);
}

TEST_F(ShapeModels, UnusablePolygonsGiveNoShapeInsteadOfStoppingBox2D) {
    // 0.5 px apart at scale 1 is 0.025 m: welded.
    EXPECT_FALSE(polygon({{0, 0}, {0.5f, 0}, {10, 10}})->isValidShape(1, 1));
    // The same points spread by the scale are fine.
    EXPECT_TRUE(polygon({{0, 0}, {0.5f, 0}, {10, 10}})->isValidShape(10, 10));
    // Collinear: Box2D's hull has two corners.
    EXPECT_FALSE(polygon({{0, 0}, {10, 0}, {20, 0}, {30, 0}})->isValidShape(1, 1));
    // Twelve points: more than a Box2D polygon holds.
    auto twelve = polygon(ring(12));
    EXPECT_FALSE(twelve->isValidShape(1, 1));
    b2FixtureDef none = twelve->fixtureDef(1, 1);
    EXPECT_EQ(none.shape, nullptr);
    // Too few, empty, zero scale, and values that are not numbers.
    EXPECT_FALSE(polygon({{0, 0}, {10, 0}})->isValidShape(1, 1));
    EXPECT_FALSE(polygon({})->isValidShape(1, 1));
    EXPECT_FALSE(polygon({{0, 0}, {20, 0}, {20, 20}})->isValidShape(0, 1));
    EXPECT_FALSE(polygon({{0, 0}, {20, 0}, {NAN, 20}})->isValidShape(1, 1));
    EXPECT_FALSE(circle({{INFINITY, 0}, {1, 0}})->isValidShape(1, 1));
    EXPECT_FALSE(circle({{0, 0}, {INFINITY, 0}})->isValidShape(1, 1)); // the radius
    EXPECT_EQ(circle({{0, 0}, {NAN, 0}})->fixtureDef(1, 1).shape, nullptr);
    // A circle needs only its centre.
    EXPECT_TRUE(circle({{5, 5}})->isValidShape(1, 1));
}

// Box2D works out a body's rotational inertia as the fourth power of its size and stops the
// process when a float loses it; a shape reaching further than the physics carries makes none.
TEST_F(ShapeModels, AShapeScaledPastWhatTheFloatsOfThePhysicsCarryGivesNoShape) {
    auto square = polygon({{-20, -20}, {20, -20}, {20, 20}, {-20, 20}});
    // 20 points at scale 1e6 reach a million metres, about the last that fits.
    EXPECT_TRUE(square->fitsThePhysics(0.99e6f, 0.99e6f));
    EXPECT_TRUE(square->isValidShape(0.99e6f, -0.99e6f));
    for (const float scale : {1.1e6f, 1e25f, 1e30f, -1e30f, 3e38f, INFINITY, NAN}) {
        EXPECT_FALSE(square->fitsThePhysics(scale, 1.0f)) << scale;
        EXPECT_EQ(square->fixtureDef(1.0f, scale).shape, nullptr) << scale;
    }
    // A circle by its centre and radius together.
    EXPECT_TRUE(circle({{0, 0}, {20, 0}})->fitsThePhysics(0.99e6f, 0.99e6f));
    EXPECT_FALSE(circle({{20, 0}, {40, 0}})->fitsThePhysics(0.99e6f, 0.99e6f));
    EXPECT_FALSE(circle({{0, 0}, {20, 0}})->isValidShape(1e30f, 1.0f));
}

// Box2D asserts the hull's area above FLT_EPSILON, summed from cross products that a fused
// multiply-add on another machine moves by a float step of the extent squared: a sliver within
// that of no area makes no shape, a thin plank of the same length does.
TEST_F(ShapeModels, AHullWithinRoundingOfNoAreaGivesNoShape) {
    const b2Vec2 sliver[3] = {{0, 0}, {1000, 0}, {500, 1e-4f}};
    const b2Vec2 plank[4] = {{0, 0}, {1000, 0}, {1000, 0.05f}, {0, 0.05f}};
    EXPECT_FALSE(isUsablePolygonHull(sliver, 3));
    EXPECT_TRUE(isUsablePolygonHull(plank, 4));
    // 20,000 points by one at scale 1: an editor's longest plank plays.
    EXPECT_TRUE(polygon({{0, 0}, {20000, 0}, {20000, 1}, {0, 1}})->isValidShape(1, 1));
}

TEST_F(ShapeModels, HullCheckAgreesWithBox2DOnEveryAcceptedSet) {
    // Points on a small grid, many of them collinear or nearly so: every set the check
    // accepts must go through b2PolygonShape::Set (an abort would end the test run).
    int accepted = 0;
    int rejected = 0;
    for (int seed = 0; seed < 3000; ++seed) {
        std::vector<b2Vec2> points;
        unsigned state = static_cast<unsigned>(seed) * 2654435761u + 1u;
        const int count = 3 + seed % 6;
        for (int i = 0; i < count; ++i) {
            state = state * 1103515245u + 12345u;
            const float x = static_cast<float>((state >> 16) % 5) * 0.1f;
            state = state * 1103515245u + 12345u;
            float y = static_cast<float>((state >> 16) % 5) * 0.1f;
            if (seed % 3 == 0) {
                // A thin band around a slanted line: nearly collinear, tiny areas.
                state = state * 1103515245u + 12345u;
                y = 0.3f * x + static_cast<float>((state >> 16) % 1000) * 1e-7f;
            }
            points.emplace_back(x, y);
        }
        if (!isUsablePolygonHull(points.data(), count)) {
            ++rejected;
            continue;
        }
        ++accepted;
        b2PolygonShape shape;
        shape.Set(points.data(), count);
        EXPECT_GE(shape.m_count, 3);
    }
    EXPECT_GT(accepted, 100);
    EXPECT_GT(rejected, 100);
}

TEST_F(ShapeModels, Box2DStopsOnACollinearHullWhichIsWhyItIsCheckedFirst) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const b2Vec2 line[3] = {{0, 0}, {1, 0}, {2, 0}};
    EXPECT_FALSE(isUsablePolygonHull(line, 3));
    EXPECT_DEATH(
        {
            b2PolygonShape shape;
            shape.Set(line, 3);
        },
        "");
}

TEST_F(ShapeModels, ConvexityFollowsTheTruncatedTurnValues) {
    EXPECT_TRUE(polygon({{0, 0}, {10, 0}, {10, 10}, {0, 10}})->isConvex()); // every turn -100
    EXPECT_FALSE(polygon({{0, 0}, {10, 0}, {4, 4}, {0, 10}})->isConvex());  // -40, then 20
    // The first turn truncates to 0 (collinear start): anything after passes.
    EXPECT_TRUE(polygon({{0, 0}, {10, 0}, {20, 0}, {4, 4}, {0, 10}})->isConvex());
    EXPECT_FALSE(polygon({{0, 0}, {10, 0}})->isConvex());
    EXPECT_TRUE(circle({})->isConvex());
}

TEST_F(ShapeModels, UnpackKeepsTheFirstEightPointsWhileTheDictionaryKeepsAll) {
    auto source = polygon(ring(10));
    source->setOneWayCollisionVector(CCPoint(0, -3), true);
    installKeysOf(*source);
    msgpack::zone zone;
    KXMessagePackMap map(zone);
    source->packValues(map);

    auto target = polygon({{1, 1}});
    target->unpackValues(map);
    ASSERT_EQ(target->pointCount(), 8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_TRUE(target->pointAt(i).equals(ring(10)[static_cast<size_t>(i)])) << i;
    }
    EXPECT_TRUE(target->oneWayCollisionVector().equals(CCPoint(0, -3)));

    // An absent key leaves the member as it was.
    msgpack::zone emptyZone;
    KXMessagePackMap empty(emptyZone);
    target->unpackValues(empty);
    EXPECT_EQ(target->pointCount(), 8);

    cocos2d::CCDictionary* saved = source->saveValuesToDictionary();
    auto fromDictionary = polygon({});
    fromDictionary->loadValuesFromDictionary(saved);
    EXPECT_EQ(fromDictionary->pointCount(), 10);
    EXPECT_TRUE(fromDictionary->pointAt(9).equals(CCPoint(90, 40)));
    auto roundFromDictionary = circle({});
    roundFromDictionary->loadValuesFromDictionary(saved);
    EXPECT_EQ(roundFromDictionary->pointCount(), 2);
    EXPECT_TRUE(roundFromDictionary->oneWayCollisionVector().equals(CCPoint(0, -3)));
}

TEST_F(ShapeModels, StoredPointsOfTheWrongShapeThrowTheTypeError) {
    auto source = polygon({{1, 2}});
    installKeysOf(*source);
    msgpack::zone zone;
    KXMessagePackMap map(zone);
    map.set("points", std::string("not points"));
    EXPECT_THROW(polygon({})->unpackValues(map), msgpack::type_error);
}

TEST_F(ShapeModels, PointEditorsChangeWhatTheySayAndAnnounceUnlessSilent) {
    auto shape = polygon({{0, 0}, {1, 1}});
    RecordingObserver observer;
    shape->addObserver(&observer);

    shape->insertPoint(2, CCPoint(5, 5), false); // at the end
    EXPECT_EQ(shape->pointCount(), 3);
    EXPECT_EQ(observer.events.size(), 1u);
    shape->insertPoint(0, CCPoint(9, 9), true);
    EXPECT_TRUE(shape->pointAt(0).equals(CCPoint(9, 9)));
    shape->insertPoint(7, CCPoint(1, 1), false); // out of range
    shape->removePoint(-1, false);
    shape->setPoint(4, CCPoint(1, 1), false);
    EXPECT_EQ(observer.events.size(), 1u);
    EXPECT_EQ(shape->pointCount(), 4);

    shape->removePoint(1, false); // (0,0) goes; the order of the rest stays
    EXPECT_TRUE(shape->pointAt(1).equals(CCPoint(1, 1)));
    EXPECT_TRUE(shape->pointAt(2).equals(CCPoint(5, 5)));
    EXPECT_TRUE(shape->pointAt(3).equals(CCPoint(0, 0))); // out of range reads (0, 0)
    EXPECT_EQ(observer.events.size(), 2u);
    shape->removeObserver(&observer);
}

TEST_F(ShapeModels, SetBoxAppendsTheCornersOrTheCircle) {
    auto shape = polygon({});
    shape->setBox(CCSize(0, 10), CCPoint(0, 0), true); // not positive both ways: 120 x 80
    ASSERT_EQ(shape->pointCount(), 4);
    EXPECT_TRUE(shape->pointAt(0).equals(CCPoint(-60, -40)));
    EXPECT_TRUE(shape->pointAt(2).equals(CCPoint(60, 40)));
    shape->setBox(CCSize(10, 20), CCPoint(2, 3), true);
    ASSERT_EQ(shape->pointCount(), 8);
    EXPECT_TRUE(shape->pointAt(4).equals(CCPoint(-7, -13)));
    EXPECT_TRUE(shape->pointAt(6).equals(CCPoint(3, 7)));

    auto round = circle({});
    round->setBox(CCSize(0, 10), CCPoint(1, 1), true);
    EXPECT_FLOAT_EQ(round->radius(), 2.0f); // (0 + 10) / 5
    EXPECT_TRUE(round->pointAt(0).equals(CCPoint(-1, -1)));
    round->setBox(CCSize(100, 100), CCPoint(0, 0), true); // already two points
    EXPECT_FLOAT_EQ(round->radius(), 2.0f);
}

TEST_F(ShapeModels, CircleEditorsKeepCentreAndRim) {
    auto round = circle({});
    RecordingObserver observer;
    round->addObserver(&observer);
    round->insertPoint(5, CCPoint(7, 7), false); // empty: the default circle
    ASSERT_EQ(round->pointCount(), 2);
    EXPECT_FLOAT_EQ(round->radius(), 30.0f);
    EXPECT_EQ(observer.events.size(), 1u);
    round->insertPoint(0, CCPoint(7, 7), false); // not empty: nothing
    EXPECT_EQ(observer.events.size(), 1u);

    round->setPoint(0, CCPoint(10, 20), false); // the rim moves with the centre
    EXPECT_TRUE(round->pointAt(1).equals(CCPoint(40, 20)));
    round->setPoint(1, CCPoint(10, 25), false);
    EXPECT_FLOAT_EQ(round->radius(), 5.0f);
    EXPECT_EQ(observer.events.size(), 3u);

    round->removePoint(1, false); // removes both
    EXPECT_TRUE(round->isEmpty());
    round->removeObserver(&observer);
}

TEST_F(ShapeModels, CopiesCarryThePointsAndTheirOwnIdentity) {
    auto round = circle({{1, 2}, {3, 4}});
    round->setOneWayCollisionVector(CCPoint(0, 1), true);
    std::shared_ptr<KXModel> copy = round->clone(false, false);
    auto copied = modelCast<KXModelCircle>(copy);
    ASSERT_TRUE(copied);
    EXPECT_NE(copied->id(), round->id());
    EXPECT_EQ(copied->pointCount(), 2);
    EXPECT_TRUE(copied->oneWayCollisionVector().equals(CCPoint(0, 1)));
    EXPECT_TRUE(modelKindCast<KXModelPolygon>(copy));
    EXPECT_FALSE(polygon({})->isKindOf(KXModelCircle::staticType()));
}

// --- compounds and assets ---

TEST_F(ShapeModels, CompoundListsOnlyItsComponentsInOrder) {
    auto asset = std::static_pointer_cast<KXModelAsset>(KXModelAsset::create());
    auto damage = KXModelComponentDamage::create();
    auto image = KXModelObjectImage::create();
    auto secondDamage = KXModelComponentDamage::create();
    asset->addChild(damage, true);
    asset->addChild(image, true);
    asset->addChild(secondDamage, true);
    ASSERT_EQ(asset->components().size(), 2u);
    EXPECT_EQ(asset->components()[0], damage);
    EXPECT_EQ(asset->components()[1], secondDamage);

    asset->removeChild(image, true); // not a component: the list stays
    asset->removeChild(damage, true);
    ASSERT_EQ(asset->components().size(), 1u);
    EXPECT_EQ(asset->components()[0], secondDamage);

    // A deep copy lists its own copied components, in the source's order.
    asset->addChild(damage, true);
    auto copy = std::static_pointer_cast<KXModelAsset>(asset->clone(true, false));
    ASSERT_EQ(copy->components().size(), 2u);
    EXPECT_EQ(copy->components()[0]->typeId(), KXModelComponentDamage::staticType());
    EXPECT_NE(copy->components()[0], secondDamage);
    EXPECT_EQ(copy->components()[0], copy->children()[0]);

    asset->removeAllChildren(true);
    EXPECT_TRUE(asset->components().empty());
    EXPECT_TRUE(asset->children().empty());
}

TEST_F(ShapeModels, CollisionBoxIsMadeOnceAndEachCallAppendsFourCorners) {
    auto asset = std::static_pointer_cast<KXModelAsset>(KXModelAsset::create());
    KXModelController::shared()->addModel(asset);
    EXPECT_FALSE(asset->collisionShape());
    EXPECT_FALSE(asset->isCollisionShapeUsable(1, 1));

    asset->setCollisionBox(CCSize(40, 20), CCPoint(0, 0));
    std::shared_ptr<KXModelPolygon> shape = asset->collisionShape();
    ASSERT_TRUE(shape);
    EXPECT_TRUE(KXModelController::shared()->isRegistered(shape.get()));
    EXPECT_EQ(shape->pointCount(), 4);
    EXPECT_TRUE(asset->isCollisionShapeUsable(1, 1));
    EXPECT_FALSE(asset->isCollisionShapeUsable(0, 0));

    // A second call keeps the polygon and adds the new box's corners after the first box's.
    asset->setCollisionBox(CCSize(10, 10), CCPoint(0, 0));
    EXPECT_EQ(asset->collisionShape(), shape);
    ASSERT_EQ(shape->pointCount(), 8);
    EXPECT_TRUE(shape->pointAt(0).equals(CCPoint(-20, -10)));
    EXPECT_TRUE(shape->pointAt(4).equals(CCPoint(-5, -5)));
    EXPECT_TRUE(shape->pointAt(6).equals(CCPoint(5, 5)));
    EXPECT_EQ(getModels<KXModelPolygon>().size(), 1u);

    // A copied asset owns a copy of the polygon.
    auto copy = std::static_pointer_cast<KXModelAsset>(asset->clone(false, false));
    ASSERT_TRUE(copy->collisionShape());
    EXPECT_NE(copy->collisionShape(), shape);
    EXPECT_EQ(copy->collisionShape()->pointCount(), 8);
}

TEST_F(ShapeModels, CollisionBoxFromSpriteUsesTheFirstFrameSizeAndTheOffset) {
    auto container = std::static_pointer_cast<KXModelSpriteContainer>(KXModelSpriteContainer::create());
    auto sprite = std::static_pointer_cast<KXModelSprite>(KXModelSprite::create());
    sprite->sizeAttribute()->setValue(CCSize(30, 50), true);
    container->addChild(sprite, true);
    container->setOffset(CCPoint(5, -5));

    auto asset = std::static_pointer_cast<KXModelAsset>(KXModelAsset::create());
    asset->setCollisionBoxFromSprite(*container);
    std::shared_ptr<KXModelPolygon> shape = asset->collisionShape();
    ASSERT_TRUE(shape);
    ASSERT_EQ(shape->pointCount(), 4);
    EXPECT_TRUE(shape->pointAt(0).equals(CCPoint(-20, -20))); // (-15 - 5, -25 + 5)
    EXPECT_TRUE(shape->pointAt(2).equals(CCPoint(10, 30)));

    // The offset travels with a copied container.
    auto copy = std::static_pointer_cast<KXModelSpriteContainer>(container->clone(false, false));
    EXPECT_TRUE(copy->offset().equals(CCPoint(5, -5)));
}

} // namespace
