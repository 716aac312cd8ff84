// Screen-graph UI nodes, the component models and the unit object: stored attribute order,
// renamed ports, kind-driven defaults, the unit's component children, spawn-rate spread and the
// placeholder shapes of jump and move.

#include "model/KXMessagePackMap.h"
#include "model/KXModelController.h"
#include "model/classes/KXModelComponentDamage.h"
#include "model/classes/KXModelComponentForcedMovement.h"
#include "model/classes/KXModelComponentIsoJump.h"
#include "model/classes/KXModelComponentMotor.h"
#include "model/classes/KXModelComponentMove.h"
#include "model/classes/KXModelComponentSpawner.h"
#include "model/classes/KXModelComponentWakeup.h"
#include "model/classes/KXModelObjectAssetUnit.h"
#include "model/classes/KXModelPolygon.h"
#include "model/classes/KXModelQueries.h"
#include "model/classes/KXNodeScene.h"
#include "model/classes/KXNodeUI.h"
#include "model/classes/KXNodeUIStart.h"
#include "support/model_test_models.h"

#include "cocos2d.h"
#include "support/model_class_helpers.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

using cocos2d::CCPoint;

namespace {

class MoreComponents : public ::testing::Test {
protected:
    void SetUp() override { resetModelCore(); }
    void TearDown() override { resetModelCore(); }
};

void installKeysOf(const std::vector<const KXModel*>& models) {
    KXMessagePackMap::setCollectingKeys(true);
    for (const KXModel* model : models) {
        model->registerKeys();
    }
    KXMessagePackMap::setCollectingKeys(false);
    KXMessagePackMap::KeyTable table;
    int next = 1;
    for (const std::string& name : KXMessagePackMap::registeredKeyNames()) {
        table[name] = next++;
    }
    KXMessagePackMap::installKeyTable(table);
}

TEST_F(MoreComponents, StartNodeRenamesTheInheritedPortAndAddsALinkingLoad) {
    auto start = make<KXNodeUIStart>();
    EXPECT_EQ(attributeNames(*start), (std::vector<std::string>{"Name", "Position", "---", "Load"}));
    EXPECT_EQ(start->attribute("---")->connectionKind(), KXAttributeConnectionNone);
    EXPECT_EQ(start->attribute("Load")->connectionKind(), KXAttributeConnectionOutput);

    auto node = make<KXNodeUI>();
    EXPECT_EQ(attributeNames(*node), (std::vector<std::string>{"Name", "Position", "Load"}));
    EXPECT_EQ(node->attribute("Load")->connectionKind(), KXAttributeConnectionInput);

    auto copy = start->clone(false, false);
    EXPECT_EQ(attributeNames(*copy), (std::vector<std::string>{"Name", "Position", "---", "Load"}));
    EXPECT_EQ(copy->attribute("Load")->connectionKind(), KXAttributeConnectionOutput);

    EXPECT_TRUE(start->isKindOf(KXNodeUI::staticType()));
    EXPECT_TRUE(start->isKindOf(KXNode::staticType()));
    EXPECT_FALSE(node->isKindOf(KXNodeUIStart::staticType()));
}

TEST_F(MoreComponents, UnnamedUiNodeTakesTheFirstNumberNoStoredUiNodeUses) {
    KXModelController* store = KXModelController::shared();
    EXPECT_EQ(make<KXNodeUI>()->name(), "New UI 1");

    auto second = make<KXNodeUI>();
    second->setName("New UI 2");
    store->addModel(second);
    EXPECT_EQ(make<KXNodeUI>()->name(), "New UI 1");

    auto first = make<KXNodeUI>();
    store->addModel(first);
    EXPECT_EQ(first->name(), "New UI 1");
    EXPECT_EQ(make<KXNodeUI>()->name(), "New UI 3");

    // Only plain UI nodes count.
    resetModelCore();
    auto start = make<KXNodeUIStart>();
    store->addModel(start);
    ASSERT_EQ(start->name(), "New UI 1");
    auto scene = make<KXNodeScene>();
    scene->setName("New UI 1");
    store->addModel(scene);
    EXPECT_EQ(make<KXNodeUI>()->name(), "New UI 1");
}

TEST_F(MoreComponents, ForcedMovementKeepsItsStoredSpellingAndDamageTruncates) {
    auto forced = make<KXModelComponentForcedMovement>();
    EXPECT_EQ(attributeNames(*forced),
              (std::vector<std::string>{"Name", "Froce Min", "Force Max", "Force Increase"}));
    EXPECT_FLOAT_EQ(forced->forceMin(), 3.0f);
    EXPECT_FLOAT_EQ(forced->forceIncrease(), 0.1f);

    auto damage = make<KXModelComponentDamage>();
    EXPECT_EQ(attributeNames(*damage), (std::vector<std::string>{"Name", "Damage", "Damage delay"}));
    EXPECT_EQ(damage->damage(), 1);
    RecordingObserver observer;
    damage->addObserver(&observer);
    damage->setDamage(3);
    damage->setDamage(3);
    EXPECT_EQ(observer.events, (std::vector<std::string>{"attribute Damage 0"}));
    damage->removeObserver(&observer);

    auto* value = dynamic_cast<KXAttributeFloat*>(damage->attribute("Damage"));
    ASSERT_NE(value, nullptr);
    value->setValue(2.75f, true);
    EXPECT_EQ(damage->damage(), 2);
    value->setValue(-1.9f, true);
    EXPECT_EQ(damage->damage(), -1);
}

TEST_F(MoreComponents, UnitListsItsKindTextsAheadOfTheInheritedAttributes) {
    auto unit = make<KXModelObjectAssetUnit>();
    EXPECT_EQ(attributeNames(*unit),
              (std::vector<std::string>{"Object Type", "Movement Type", "Name", "Position", "Rotation",
                                        "Scale", "Opacity", "Z Depth", "Hidden", "Asset", "Linear Velocity",
                                        "Angular Velocity", "Collision Type", "Destroy Type"}));
    EXPECT_EQ(unit->attribute("Linear Velocity")->flags(), 1u);
    EXPECT_EQ(unit->attribute("Angular Velocity")->flags(), 1u);
    EXPECT_EQ(unit->attribute("Collision Type")->flags(), 0u);

    auto copy = std::static_pointer_cast<KXModelObjectAssetUnit>(unit->clone(false, false));
    EXPECT_EQ(attributeNames(*copy), attributeNames(*unit));
}

TEST_F(MoreComponents, UnitKindSetsCollisionDestroyMovementAndBulletVelocities) {
    auto unit = make<KXModelObjectAssetUnit>();
    auto* velocity = dynamic_cast<KXAttributePoint*>(unit->attribute("Linear Velocity"));
    ASSERT_NE(velocity, nullptr);
    velocity->setValue(CCPoint(5, 5), true);
    velocity->setVariableValue(CCPoint(1, 1));

    unit->setObjectType("kBulletObjectType");
    EXPECT_TRUE(unit->linearVelocity().equals(CCPoint(-20, 0)));
    EXPECT_TRUE(unit->linearVelocityVariance().equals(CCPoint(1, 1)));
    EXPECT_EQ(unit->collisionType(), "kNoCollision");
    EXPECT_EQ(unit->destroyType(), "kDestroyCollision");
    EXPECT_EQ(unit->movementType(), "kMovementLinear");

    unit->setObjectType("kBulletCharacterObjectType");
    EXPECT_TRUE(unit->linearVelocity().equals(CCPoint(20, 0)));
    EXPECT_EQ(unit->destroyType(), "kDestroyEnemyCollision");

    RecordingObserver observer;
    unit->addObserver(&observer);
    unit->setObjectType("kPhysicsObjectType");
    EXPECT_TRUE(unit->linearVelocity().equals(CCPoint(20, 0)));
    // Movement first for the physics kind; the destroy text was already right.
    EXPECT_EQ(observer.events,
              (std::vector<std::string>{"attribute Object Type 0", "attribute Movement Type 0",
                                        "attribute Collision Type 0", "attribute Destroy Type 0"}));
    observer.events.clear();
    unit->setObjectType("kWheelObjectType");
    EXPECT_EQ(observer.events, (std::vector<std::string>{"attribute Object Type 0"}));
    observer.events.clear();
    unit->setCollisionType("kNoCollision");
    EXPECT_EQ(observer.events, (std::vector<std::string>{"attribute Collision Type 0"}));
    unit->removeObserver(&observer);
    EXPECT_EQ(unit->collisionType(), "kNoCollision");
}

TEST_F(MoreComponents, UnitFollowsItsWakeupAndSpawnerChildren) {
    auto unit = make<KXModelObjectAssetUnit>();
    EXPECT_EQ(unit->wakeUp(), "kNoWakeup");
    EXPECT_EQ(unit->sleep(), "kNoSleep");
    EXPECT_FLOAT_EQ(unit->wakeupDistance(), 0.0f);
    EXPECT_FALSE(unit->isSpawner());
    EXPECT_FLOAT_EQ(unit->spawnRate(), 1.0f);
    EXPECT_EQ(unit->spawnAction(), "");

    auto first = make<KXModelComponentWakeup>();
    auto second = make<KXModelComponentWakeup>();
    unit->addChild(first);
    unit->addChild(second);
    EXPECT_EQ(unit->wakeupComponent(), second);
    unit->removeChild(first);
    EXPECT_EQ(unit->wakeupComponent(), second);
    EXPECT_EQ(unit->wakeUp(), "");

    unit->setSpawnerEnabled(true);
    unit->setSpawnerEnabled(true);
    EXPECT_EQ(getChildren<KXModelComponentSpawner>(*unit).size(), 1u);
    ASSERT_TRUE(unit->isSpawner());
    EXPECT_TRUE(KXModelController::shared()->isRegistered(unit->spawnerComponent().get()));
    unit->setSpawnAction("kShootingSpawning");
    EXPECT_EQ(unit->spawnAction(), "kShootingSpawning");

    unit->setSpawnerEnabled(false);
    EXPECT_FALSE(unit->isSpawner());
    EXPECT_TRUE(getChildren<KXModelComponentSpawner>(*unit).empty());
    unit->setSpawnerEnabled(false);

    unit->removeAllChildren();
    EXPECT_EQ(unit->wakeupComponent(), nullptr);
}

TEST_F(MoreComponents, RandomSpawnRateStaysWithinTheSpread) {
    auto spawner = make<KXModelComponentSpawner>();
    EXPECT_FLOAT_EQ(spawner->randomSpawnRate(), 1.0f);

    auto* rate = dynamic_cast<KXAttributeFloat*>(spawner->attribute("Spawn Rate"));
    ASSERT_NE(rate, nullptr);
    rate->setVariableValue(0.5f);
    std::srand(7);
    float lowest = 2.0f;
    float highest = 0.0f;
    for (int draw = 0; draw < 20000; ++draw) {
        const float value = spawner->randomSpawnRate();
        ASSERT_GE(value, 0.5f);
        ASSERT_LE(value, 1.5f);
        lowest = std::min(lowest, value);
        highest = std::max(highest, value);
    }
    // The draws cover the spread, not just a sliver of it.
    EXPECT_LT(lowest, 0.6f);
    EXPECT_GT(highest, 1.4f);

    RecordingObserver observer;
    spawner->addObserver(&observer);
    spawner->setSpawnRate(1.0f);
    EXPECT_TRUE(observer.events.empty());
    spawner->removeObserver(&observer);
}

TEST_F(MoreComponents, StoredShapeReplacesTheJumpPlaceholderWhichLeavesTheStore) {
    KXModelController* store = KXModelController::shared();
    auto jump = make<KXModelComponentIsoJump>();
    std::shared_ptr<KXModelPolygon> placeholder = jump->collisionShape();
    ASSERT_TRUE(placeholder);
    EXPECT_TRUE(placeholder->isEmpty());
    store->addModel(jump);
    ASSERT_TRUE(store->isRegistered(placeholder.get()));

    auto source = make<KXModelComponentIsoJump>();
    auto stored = make<KXModelPolygon>();
    stored->addPoint(CCPoint(1, 2), true);
    store->addModel(stored);
    dynamic_cast<KXAttributeShape*>(source->attribute("Collision Shape"))->setValue(stored, true);
    installKeysOf({source.get(), jump.get()});

    msgpack::zone zone;
    KXMessagePackMap connections(zone);
    source->packConnections(connections);
    jump->unpackConnections(connections);
    EXPECT_EQ(jump->collisionShape(), stored);
    EXPECT_FALSE(store->isRegistered(placeholder.get()));
    EXPECT_TRUE(store->isRegistered(stored.get()));

    // The same shape again removes nothing.
    jump->unpackConnections(connections);
    EXPECT_TRUE(store->isRegistered(stored.get()));
}

TEST_F(MoreComponents, MoveStartsBlankAndReadsAffectedAssetAsANumber) {
    auto move = make<KXModelComponentMove>();
    EXPECT_TRUE(move->collisionShape());
    EXPECT_FALSE(move->hasLinearVelocityX());
    EXPECT_FALSE(move->hasLinearVelocityY());
    EXPECT_FALSE(move->hasAngularVelocity());

    auto* velocity = dynamic_cast<KXAttributePoint*>(move->attribute("Linear Velocity"));
    ASSERT_NE(velocity, nullptr);
    velocity->setEmpty(false, true);
    EXPECT_TRUE(move->hasLinearVelocityX());
    velocity->setEmptyAllowed(false, true);
    velocity->setEmpty(true, true);
    EXPECT_TRUE(move->hasLinearVelocityY());

    auto* asset = dynamic_cast<KXAttributeStringList*>(move->attribute("Affected asset"));
    ASSERT_NE(asset, nullptr);
    const std::vector<std::pair<std::string, int>> cases{
        {"12", 12}, {"7abc", 7}, {"  3", 3}, {"abc", 0}, {"", 0}};
    for (const auto& entry : cases) {
        asset->setValue(entry.first, true);
        EXPECT_EQ(move->affectedAssetValue(), entry.second) << entry.first;
    }

    auto motor = make<KXModelComponentMotor>();
    EXPECT_TRUE(motor->linearMultiplier().equals(CCPoint(1, 1)));
    EXPECT_FLOAT_EQ(motor->angularMultiplier(), 1.0f);
}

} // namespace
