// Asset display states: which look is shown by priority, what comes back when the shown one
// goes, restarts (none for rotation-mapped looks), visibility, and the fixtures the looks' shapes
// put on the body (a moving body keeps a weight under a shape without density), with the
// character's filter and the model's own shape at the end; and the animations attached to an
// object.

#include "model/classes/KXModelPolygon.h"
#include "player/objects/KXPAnimationObject.h"
#include "player/physics/KXPBodyData.h"
#include "support/asset_world_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace cocos2d;
using kxtest::AssetWorld;
using kxtest::TestAsset;

namespace {

class AssetDisplayStates : public kxtest::AssetTest {};

// A look that counts its restarts.
class Look : public KXPAnimationObject {
public:
    static Look* make() {
        Look* look = new Look();
        look->autorelease();
        return look;
    }
    Look() : KXPAnimationObject(nullptr, nullptr, false) {}
    void restart() override { ++restarts; }
    int restarts = 0;
};

std::shared_ptr<KXModelPolygon> boxShape(float width, float height) {
    std::shared_ptr<KXModelPolygon> shape = createModel<KXModelPolygon>();
    shape->replaceWithBox(CCSize(width, height), CCPointZero);
    return shape;
}

// Height of the body's fixture box, in points.
float fixtureHeight(KXPObjectAsset* object) {
    const b2AABB box = object->getAABB();
    return (box.upperBound.y - box.lowerBound.y - 0.02f) / 0.05f; // minus the polygon skin
}

TEST_F(AssetDisplayStates, TheLowestPriorityShowsAndOnlyOneAtATime) {
    TestAsset* object = TestAsset::make(kxtest::boxAssetModel());
    Look* move = Look::make();
    Look* powerup = Look::make();
    Look* laterMove = Look::make();
    CCNode* elsewhere = CCNode::create();
    elsewhere->addChild(move);

    object->pushAnimation(KXPObjectAsset::kDisplayMove, move, nullptr);
    EXPECT_EQ(move->getParent(), object);
    EXPECT_EQ(object->currentDisplayNode(), move);
    EXPECT_EQ(move->restarts, 1);

    object->pushAnimation(KXPObjectAsset::kDisplayPowerup, powerup, nullptr);
    EXPECT_EQ(object->currentDisplayNode(), powerup);
    EXPECT_FALSE(move->isVisible());
    EXPECT_TRUE(powerup->isVisible());

    // A higher number waits hidden behind the shown one.
    object->pushAnimation(KXPObjectAsset::kDisplayMove, laterMove, nullptr);
    EXPECT_EQ(object->currentDisplayNode(), powerup);
    EXPECT_FALSE(laterMove->isVisible());
    EXPECT_EQ(laterMove->restarts, 0);

    // Popping one that is not shown changes nothing visible.
    object->popAnimation(KXPObjectAsset::kDisplayMove, move, nullptr);
    EXPECT_EQ(move->getParent(), nullptr);
    EXPECT_EQ(object->currentDisplayNode(), powerup);
    EXPECT_TRUE(powerup->isVisible());
    // Unknown entries and empty requests are ignored.
    object->popAnimation(KXPObjectAsset::kDisplayJump, powerup, nullptr);
    object->pushAnimation(KXPObjectAsset::kDisplayJump, nullptr, nullptr);
    EXPECT_EQ(object->displayStateCount(), 2u);

    // The shown one goes: the last-pushed entry of the lowest number from 1 to 4 comes back.
    object->pushAnimation(KXPObjectAsset::kDisplayMove, move, nullptr);
    object->popAnimation(KXPObjectAsset::kDisplayPowerup, powerup, nullptr);
    EXPECT_EQ(object->currentDisplayNode(), move);
    EXPECT_TRUE(move->isVisible());
    EXPECT_FALSE(laterMove->isVisible());
    EXPECT_EQ(move->restarts, 2);

    // Hiding the object hides the shown look; the hidden ones stay hidden when it shows again.
    object->setVisible(false);
    EXPECT_FALSE(move->isVisible());
    object->setVisible(true);
    EXPECT_TRUE(move->isVisible());
    EXPECT_FALSE(laterMove->isVisible());
}

TEST_F(AssetDisplayStates, OnlyPrioritiesOneToFourComeBackAndRotationMappedLooksKeepTheirFrame) {
    TestAsset* object = TestAsset::make(kxtest::boxAssetModel());
    Look* damage = Look::make();
    Look* odd = Look::make();
    Look* mapped = Look::make();
    Look* jump = Look::make();

    object->pushAnimation(5, odd, nullptr);
    EXPECT_EQ(object->currentDisplayNode(), odd);
    object->pushAnimation(KXPObjectAsset::kDisplayDamage, damage, nullptr);
    object->pushAnimation(KXPObjectAsset::kDisplayRotationMapped, mapped, nullptr);
    EXPECT_EQ(mapped->restarts, 0);
    object->pushAnimation(KXPObjectAsset::kDisplayJump, jump, nullptr);

    // Equal numbers: the newcomer takes over.
    Look* secondDamage = Look::make();
    object->pushAnimation(KXPObjectAsset::kDisplayDamage, secondDamage, nullptr);
    EXPECT_EQ(object->currentDisplayNode(), secondDamage);
    EXPECT_FALSE(damage->isVisible());

    object->popAnimation(KXPObjectAsset::kDisplayDamage, secondDamage, nullptr);
    EXPECT_EQ(object->currentDisplayNode(), jump); // not the remaining damage look
    EXPECT_FALSE(damage->isVisible());
    object->popAnimation(KXPObjectAsset::kDisplayJump, jump, nullptr);
    EXPECT_EQ(object->currentDisplayNode(), mapped);
    EXPECT_TRUE(mapped->isVisible());
    EXPECT_EQ(mapped->restarts, 0);
    object->popAnimation(KXPObjectAsset::kDisplayRotationMapped, mapped, nullptr);
    // Left: priorities 0 and 5, neither of which comes back.
    EXPECT_FALSE(object->hasCurrentDisplayState());
    EXPECT_EQ(object->displayStateCount(), 2u);
    EXPECT_FALSE(damage->isVisible());
    EXPECT_FALSE(odd->isVisible());
}

TEST_F(AssetDisplayStates, ShapesReplaceTheFixtureUntilTheLastLookGoes) {
    AssetWorld field;
    TestAsset* object = field.place(kxtest::boxAssetModel(CCSize(40, 40)), ccp(0, 0));
    std::shared_ptr<KXModelPolygon> tall = boxShape(40, 100);
    std::shared_ptr<KXModelPolygon> flat = boxShape(40, 10);
    Look* look = Look::make();

    object->pushAnimation(KXPObjectAsset::kDisplayMove, look, tall);
    EXPECT_NEAR(fixtureHeight(object), 100.0f, 0.1f);
    b2Fixture* fixture = object->getBody()->GetFixtureList();
    EXPECT_EQ(fixture->GetNext(), nullptr);
    EXPECT_EQ(KXPBodyData::nodeAs<KXPObject>(fixture), object);
    // A look's fixture keeps what its shape gives: Box2D's defaults and friction 0.2.
    EXPECT_FLOAT_EQ(fixture->GetDensity(), 0.0f);
    EXPECT_FLOAT_EQ(fixture->GetFriction(), 0.2f);

    // A waiting look does not touch the fixture; one taking over does.
    object->pushAnimation(KXPObjectAsset::kDisplayMove + 1, nullptr, flat);
    EXPECT_NEAR(fixtureHeight(object), 100.0f, 0.1f);
    object->pushAnimation(KXPObjectAsset::kDisplayPowerup, nullptr, flat);
    EXPECT_NEAR(fixtureHeight(object), 10.0f, 0.1f);

    // A shape that makes no fixture leaves the body as it is.
    std::shared_ptr<KXModelPolygon> line = createModel<KXModelPolygon>();
    line->addPoint(ccp(0, 0));
    line->addPoint(ccp(10, 0));
    object->pushAnimation(KXPObjectAsset::kDisplayDamage, nullptr, line);
    EXPECT_NEAR(fixtureHeight(object), 10.0f, 0.1f);

    object->popAnimation(KXPObjectAsset::kDisplayDamage, nullptr, line);
    EXPECT_NEAR(fixtureHeight(object), 10.0f, 0.1f);
    object->popAnimation(KXPObjectAsset::kDisplayPowerup, nullptr, flat);
    EXPECT_NEAR(fixtureHeight(object), 100.0f, 0.1f);
    object->popAnimation(KXPObjectAsset::kDisplayMove + 1, nullptr, flat);
    EXPECT_NEAR(fixtureHeight(object), 100.0f, 0.1f);
    object->popAnimation(KXPObjectAsset::kDisplayMove, look, tall);
    // The model's own shape, as the body was made: density 0.1, the gameplay values, a sensor.
    EXPECT_NEAR(fixtureHeight(object), 40.0f, 0.1f);
    fixture = object->getBody()->GetFixtureList();
    EXPECT_EQ(fixture->GetNext(), nullptr);
    EXPECT_FLOAT_EQ(fixture->GetDensity(), 0.1f);
    EXPECT_FLOAT_EQ(fixture->GetFriction(), 0.3f);
    EXPECT_FLOAT_EQ(fixture->GetRestitution(), 0.25f);
    EXPECT_TRUE(fixture->IsSensor());
}

TEST_F(AssetDisplayStates, ALooksShapeWithoutDensityLeavesADynamicBodyAWeightOfOne) {
    AssetWorld field;
    field.world.SetGravity(b2Vec2(0, -10));
    TestAsset* object = field.place(kxtest::boxAssetModel(CCSize(40, 40)), ccp(0, 0),
                                    [](TestAsset& asset) { asset.setBodyType(b2_dynamicBody); });
    b2Body* body = object->getBody();
    // Its own shape: 2 m x 2 m at density 0.1.
    EXPECT_NEAR(body->GetMass(), 0.4f, 1e-5f);
    std::shared_ptr<KXModelPolygon> tall = boxShape(40, 100);
    object->pushAnimation(KXPObjectAsset::kDisplayMove, nullptr, tall);
    EXPECT_FLOAT_EQ(body->GetMass(), 1.0f);
    EXPECT_FLOAT_EQ(body->GetInertia(), 0.0f) << "contacts do not turn it";
    field.run(30);
    EXPECT_LT(body->GetLinearVelocity().y, -4.0f) << "it falls";
    object->popAnimation(KXPObjectAsset::kDisplayMove, nullptr, tall);
    EXPECT_NEAR(body->GetMass(), 0.4f, 1e-5f);

    // A body that does not move keeps no mass.
    TestAsset* wall = field.place(kxtest::boxAssetModel(), ccp(400, 0));
    wall->pushAnimation(KXPObjectAsset::kDisplayMove, nullptr, tall);
    EXPECT_FLOAT_EQ(wall->getBody()->GetMass(), 0.0f);
}

TEST_F(AssetDisplayStates, ACharactersFixturesKeepTheCharacterFilter) {
    AssetWorld field;
    TestAsset* hero = field.place(kxtest::boxAssetModel(), ccp(0, 0), [](TestAsset& object) {
        object.setType(KXPObject::kTypeCharacter);
        object.setBodyType(b2_dynamicBody);
    });
    auto expectCharacterFilter = [&](const char* when) {
        b2Fixture* fixture = hero->getBody()->GetFixtureList();
        ASSERT_NE(fixture, nullptr) << when;
        EXPECT_FALSE(fixture->IsSensor()) << when;
        EXPECT_EQ(fixture->GetFilterData().categoryBits, 0x0002) << when;
        EXPECT_EQ(fixture->GetFilterData().maskBits, 0x0001) << when;
        EXPECT_EQ(fixture->GetFilterData().groupIndex, -1) << when;
    };
    std::shared_ptr<KXModelPolygon> jumpShape = boxShape(30, 30);
    hero->pushAnimation(KXPObjectAsset::kDisplayJump, nullptr, jumpShape);
    expectCharacterFilter("with a look's shape");
    hero->popAnimation(KXPObjectAsset::kDisplayJump, nullptr, jumpShape);
    expectCharacterFilter("back to its own shape");
    EXPECT_NEAR(fixtureHeight(hero), 40.0f, 0.1f);
}

TEST_F(AssetDisplayStates, ABodyWithoutFixturesTakesTheLooksShape) {
    AssetWorld field;
    TestAsset* object = field.place(kxtest::boxAssetModel(), ccp(0, 0));
    object->getBody()->DestroyFixture(object->getBody()->GetFixtureList());
    EXPECT_EQ(object->getAABB().upperBound.x, 0.0f);
    std::shared_ptr<KXModelPolygon> shape = boxShape(20, 20);
    object->pushAnimation(KXPObjectAsset::kDisplayMove, nullptr, shape);
    ASSERT_NE(object->getBody()->GetFixtureList(), nullptr);
    EXPECT_NEAR(fixtureHeight(object), 20.0f, 0.1f);
}

TEST_F(AssetDisplayStates, AttachedAnimationsHangUnderTheObjectUntilDetached) {
    TestAsset* object = TestAsset::make(kxtest::boxAssetModel());
    CCNode* holder = CCNode::create();
    Look* aura = Look::make();
    aura->setVisible(false);
    holder->addChild(aura);

    object->attachObject(aura);
    EXPECT_EQ(aura->getParent(), object);
    EXPECT_TRUE(aura->isVisible());
    EXPECT_EQ(aura->restarts, 1);
    object->attachObject(aura); // already attached: nothing
    object->attachObject(nullptr);
    EXPECT_EQ(aura->restarts, 1);
    EXPECT_EQ(object->getChildrenCount(), 1u);

    aura->retain();
    object->detachObject(aura);
    EXPECT_EQ(aura->getParent(), nullptr);
    object->detachObject(aura); // no longer attached: nothing
    // Once detached it can come again.
    object->attachObject(aura);
    EXPECT_EQ(aura->restarts, 2);
    aura->release();
}

} // namespace
