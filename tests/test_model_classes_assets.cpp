// Components, character and powerup assets, and the objects that place assets: defaults,
// truncations, the powerup's gameplay conversions, sprite containers and asset references.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <msgpack.hpp>

#include "model/KXMessagePackMap.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXGameplayValuesTarget.h"
#include "model/classes/KXModelAsset.h"
#include "model/classes/KXModelAssetCharacter.h"
#include "model/classes/KXModelAssetPowerup.h"
#include "model/classes/KXModelComponentHealth.h"
#include "model/classes/KXModelComponentScore.h"
#include "model/classes/KXModelObjectAsset.h"
#include "model/classes/KXModelObjectAssetPowerup.h"
#include "model/classes/KXModelPolygon.h"
#include "model/classes/KXModelQueries.h"
#include "model/classes/KXModelSound.h"
#include "model/classes/KXModelSprite.h"
#include "model/classes/KXModelSpriteContainer.h"
#include "model/references/KXAttributeAnimation.h"
#include "model/references/KXAttributeAsset.h"
#include "model/references/KXAttributeShape.h"
#include "model/references/KXAttributeSound.h"
#include "support/attribute_test_support.h"
#include "support/model_class_helpers.h"
#include "support/model_test_models.h"
#include "support/state_guards.h"

using cocos2d::CCPoint;

namespace {

class AssetModels : public ::testing::Test {
protected:
    kxtest::ScopedGameplayTarget sharedTarget;

    void SetUp() override { resetModelCore(); }
    void TearDown() override { resetModelCore(); }
};

std::vector<std::string> afterAsset(const std::vector<std::string>& tail) {
    std::vector<std::string> names = attributeNames(*KXModelAsset::create());
    names.insert(names.end(), tail.begin(), tail.end());
    return names;
}

void installKeysOf(const KXModel& model) {
    KXMessagePackMap::setCollectingKeys(true);
    model.registerKeys();
    msgpack::zone zone;
    KXMessagePackMap collecting(zone);
    model.packValues(collecting);
    model.packConnections(collecting);
    KXMessagePackMap::setCollectingKeys(false);
    KXMessagePackMap::KeyTable table;
    int next = 1;
    for (const std::string& name : KXMessagePackMap::registeredKeyNames()) {
        table[name] = next++;
    }
    table["value"] = next++;
    KXMessagePackMap::installKeyTable(table);
}

// A record whose every value starts at a mark that no powerup writes, and that keeps the values
// it held when the powerup saved them.
class RecordingTarget : public KXGameplayValuesTarget {
public:
    static KXGameplayValues marked() {
        KXGameplayValues values;
        const CCPoint mark(-7, -7);
        values.gravity = values.moveSpeed = values.bounceForce = values.upForce = values.characterFriction =
            mark;
        for (float* number :
             {&values.upForceDuration, &values.upForceCounter, &values.groundThreshold, &values.leftLeanForce,
              &values.rightLeanForce, &values.simulationTimeScale, &values.friction, &values.velocityScale,
              &values.rotationScale, &values.restitution, &values.platformFriction, &values.scoreMultiplier,
              &values.gameSpeedMin, &values.gameSpeedMax, &values.gameSpeed, &values.gameSpeedIncrease,
              &values.gameplayAngleDirection, &values.sidesDeletionThreshold,
              &values.backDeletionThreshold}) {
            *number = -7;
        }
        values.upForceFromGround = values.directMovement = values.forcedMovement = true;
        values.fixedRotation = values.imageDirection = true;
        return values;
    }

    KXGameplayValues values = marked();
    KXGameplayValues atSave;
    int saves = 0;

    void saveValues() override {
        ++saves;
        atSave = values;
    }
    KXGameplayValues& gameplayValues() override { return values; }
};

// --- components ---

TEST_F(AssetModels, HealthTruncatesHealthAndLives) {
    auto health = make<KXModelComponentHealth>();
    EXPECT_EQ(health->health(), 1);
    EXPECT_EQ(health->lives(), 1);
    EXPECT_EQ(health->remainingLives, 1);
    health->healthAttribute()->setValue(0.5f, true);
    health->livesAttribute()->setValue(2.7f, true);
    EXPECT_EQ(health->health(), 0);
    EXPECT_EQ(health->lives(), 2);
    health->livesAttribute()->setValue(-2.7f, true);
    EXPECT_EQ(health->lives(), -2);

    EXPECT_EQ(attributeNames(*health),
              (std::vector<std::string>{"Name", "Taking Damage Anim.", "Taking Damage Sound", "Death Delay",
                                        "Health", "Lives"}));
}

TEST_F(AssetModels, ComponentKindsAndCopies) {
    auto health = make<KXModelComponentHealth>();
    EXPECT_TRUE(health->isKindOf(KXModelComponent::staticType()));
    EXPECT_TRUE(health->isKindOf(KXModel::staticType()));
    EXPECT_FALSE(health->isKindOf(KXModelComponentScore::staticType()));

    health->livesAttribute()->setValue(4.0f, true);
    health->remainingLives = 9;
    auto copy = std::static_pointer_cast<KXModelComponentHealth>(health->clone(false, false));
    EXPECT_EQ(copy->lives(), 4);
    EXPECT_EQ(copy->remainingLives, 1);
    EXPECT_STREQ(copy->className(), "KXModelComponentHealth");

    // The bare component copies as itself.
    auto component = KXModel::makeShared<KXModelComponent>("Bare");
    auto componentCopy = component->clone(false, false);
    EXPECT_EQ(componentCopy->typeId(), KXModelComponent::staticType());
    EXPECT_EQ(componentCopy->name(), "Bare");
}

TEST_F(AssetModels, ScoreFlagsStayFalseWhenTheStoredMapLacksThem) {
    auto score = make<KXModelComponentScore>();
    installKeysOf(*score);
    MapWriter writer(1);
    writer.key("id").pack(12u);
    unpackValuesFromBytes(*score, writer.bytes());
    EXPECT_FALSE(score->resetCoins());
    EXPECT_FALSE(score->resetPoints());
    EXPECT_FALSE(score->resetDistance());

    MapWriter withPoints(2);
    withPoints.key("id").pack(12u);
    withPoints.key("Reset Points");
    withPoints.packer().pack_map(1);
    withPoints.key("value").pack(true);
    unpackValuesFromBytes(*score, withPoints.bytes());
    EXPECT_FALSE(score->resetCoins());
    EXPECT_TRUE(score->resetPoints());
    EXPECT_FALSE(score->isKindOf(KXModelComponentHealth::staticType()));
    EXPECT_TRUE(score->isKindOf(KXModelComponent::staticType()));
}

// --- character asset ---

TEST_F(AssetModels, CharacterDefaultsAndStoredOrder) {
    auto character = make<KXModelAssetCharacter>();
    EXPECT_TRUE(character->castShadow());
    EXPECT_FALSE(character->autoTilt());
    EXPECT_FLOAT_EQ(character->price(), 0.0f);
    EXPECT_EQ(character->purchaseMethod(), "");
    EXPECT_EQ(character->shootingAnimation(), nullptr);
    EXPECT_STREQ(character->className(), "KXModelAssetCharacter");

    EXPECT_EQ(attributeNames(*character),
              afterAsset({"Default Animation", "Shooting Animation", "Bullet Animation",
                          "Jump Animation",    "Move Animation",     "Defeated Animation",
                          "Jump Sound",        "Shoot Sound",        "Defeated Sound",
                          "Ground Collision",  "Cast Shadow",        "Auto Tilt",
                          "Game Over Delay",   "Camera Shake",       "Camera Flash",
                          "Fall Attribute",    "Purchase Method",    "Ad Network",
                          "Store Identifier",  "Web Link",           "Price"}));
}

TEST_F(AssetModels, CharacterShowsWhatItsDefaultAnimationShows) {
    auto character = createModel<KXModelAssetCharacter>();
    auto container = createModel<KXModelSpriteContainer>();
    EXPECT_EQ(character->spriteContainer(), nullptr);
    character->shootingAnimationAttribute()->addFrame(container);
    EXPECT_EQ(character->spriteContainer(), nullptr);
    character->defaultAnimationAttribute()->addFrame(container);
    EXPECT_EQ(character->spriteContainer(), container);
}

TEST_F(AssetModels, GameOverDelayOfTheSelectedCharacter) {
    EXPECT_FLOAT_EQ(characterGameOverDelay(0), 1.0f);
    for (int i = 0; i < 3; ++i) {
        createModel<KXModelAssetCharacter>();
    }
    auto characters = getModels<KXModelAssetCharacter>();
    characters[1]->gameOverDelayAttribute()->setValue(0.5f, true);
    characters[1]->cameraFlashAttribute()->setValue(2.0f, true);
    characters[2]->gameOverDelayAttribute()->setValue(3.0f, true);
    characters[2]->cameraFlashAttribute()->setValue(0.25f, true);

    EXPECT_FLOAT_EQ(characterGameOverDelay(0), 0.0f);
    EXPECT_FLOAT_EQ(characterGameOverDelay(1), 2.0f);
    EXPECT_FLOAT_EQ(characterGameOverDelay(2), 3.0f);
    EXPECT_FLOAT_EQ(characterGameOverDelay(3), 1.0f);
    EXPECT_FLOAT_EQ(characterGameOverDelay(5), 1.0f);
    // A negative stored index is no character either.
    EXPECT_FLOAT_EQ(characterGameOverDelay(-1), 1.0f);
}

// --- powerup asset ---

TEST_F(AssetModels, FreshPowerupAppliesNeutralValuesAfterSaving) {
    auto powerup = make<KXModelAssetPowerup>();
    RecordingTarget target;
    powerup->applyGameplayValues(target);

    // One save, before any value was written.
    EXPECT_EQ(target.saves, 1);
    EXPECT_EQ(target.atSave.moveSpeed, CCPoint(-7, -7));
    EXPECT_FLOAT_EQ(target.atSave.friction, -7.0f);
    EXPECT_TRUE(target.atSave.upForceFromGround);

    const KXGameplayValues& values = target.values;
    EXPECT_EQ(values.moveSpeed, CCPoint(0, 0));
    EXPECT_EQ(values.gravity, CCPoint(0, 0));
    EXPECT_EQ(values.upForce, CCPoint(0, 0));
    EXPECT_EQ(values.bounceForce, CCPoint(0, 0));
    EXPECT_EQ(values.characterFriction, CCPoint(1, 1));
    EXPECT_FLOAT_EQ(values.groundThreshold, 0.0f);
    EXPECT_FLOAT_EQ(values.simulationTimeScale, 0.0f);
    EXPECT_FLOAT_EQ(values.gameplayAngleDirection, 0.0f);
    EXPECT_FALSE(values.upForceFromGround);
    EXPECT_FALSE(values.fixedRotation);
    // Values a powerup has no say in keep the record's.
    EXPECT_FLOAT_EQ(values.gameSpeed, -7.0f);
    EXPECT_FLOAT_EQ(values.backDeletionThreshold, -7.0f);
    EXPECT_FLOAT_EQ(values.sidesDeletionThreshold, -7.0f);
    EXPECT_TRUE(values.directMovement);
    EXPECT_TRUE(values.forcedMovement);
    EXPECT_TRUE(values.imageDirection);
}

TEST_F(AssetModels, PowerupConvertsEditorValuesToGameplayUnits) {
    auto powerup = make<KXModelAssetPowerup>();
    powerup->maxSpeedAttribute()->setValue(CCPoint(30, 60), true);
    powerup->gravityAttribute()->setValue(CCPoint(0, -20), true);
    powerup->jumpForceAttribute()->setValue(CCPoint(8, -4), true);
    powerup->jumpCounterAttribute()->setValue(2.0f, true);
    powerup->jumpTimeoutAttribute()->setValue(0.4f, true);
    powerup->groundThresholdAttribute()->setValue(0.02f, true);
    powerup->jumpFromGroundAttribute()->setValue(true, true);
    powerup->rightLeanForceAttribute()->setValue(50.0f, true);
    powerup->leftLeanForceAttribute()->setValue(-25.0f, true);
    powerup->gameSpeedMinAttribute()->setValue(75.0f, true);
    powerup->gameSpeedMaxAttribute()->setValue(250.0f, true);
    powerup->speedIncreaseAttribute()->setValue(5.0f, true);
    powerup->frictionAttribute()->setValue(25.0f, true);
    powerup->timeWarpAttribute()->setValue(50.0f, true);
    powerup->velocityDragAttribute()->setValue(0.3f, true);
    powerup->rotationDragAttribute()->setValue(0.7f, true);
    powerup->bounceForceAttribute()->setValue(CCPoint(4, 6), true);
    powerup->bounceAttribute()->setValue(30.0f, true);
    powerup->scoreMultiplierAttribute()->setValue(2.0f, true);
    powerup->airDragAttribute()->setValue(CCPoint(20, 50), true);
    powerup->platformFrictionAttribute()->setValue(20.0f, true);
    powerup->gameDirectionAttribute()->setValue(90.0f, true);
    powerup->fixedRotationAttribute()->setValue(true, true);

    RecordingTarget target;
    powerup->applyGameplayValues(target);
    EXPECT_FLOAT_EQ(target.values.moveSpeed.x, 10.0f);
    EXPECT_FLOAT_EQ(target.values.moveSpeed.y, 20.0f);
    EXPECT_EQ(target.values.gravity, CCPoint(0, -20));
    EXPECT_FLOAT_EQ(target.values.upForce.x, 2.0f);
    EXPECT_FLOAT_EQ(target.values.upForce.y, -1.0f);
    EXPECT_FLOAT_EQ(target.values.upForceCounter, 2.0f);
    EXPECT_FLOAT_EQ(target.values.upForceDuration, 0.4f);
    EXPECT_FLOAT_EQ(target.values.groundThreshold, 0.02f);
    EXPECT_TRUE(target.values.upForceFromGround);
    EXPECT_FLOAT_EQ(target.values.rightLeanForce, 0.5f);
    EXPECT_FLOAT_EQ(target.values.leftLeanForce, -0.25f);
    EXPECT_FLOAT_EQ(target.values.gameSpeedMin, 3.0f);
    EXPECT_FLOAT_EQ(target.values.gameSpeedMax, 10.0f);
    EXPECT_FLOAT_EQ(target.values.gameSpeedIncrease, 0.2f);
    EXPECT_FLOAT_EQ(target.values.friction, 0.25f);
    EXPECT_FLOAT_EQ(target.values.simulationTimeScale, 1.0f);
    EXPECT_FLOAT_EQ(target.values.velocityScale, 0.3f);
    EXPECT_FLOAT_EQ(target.values.rotationScale, 0.7f);
    EXPECT_FLOAT_EQ(target.values.bounceForce.x, 2.0f);
    EXPECT_FLOAT_EQ(target.values.bounceForce.y, 3.0f);
    EXPECT_FLOAT_EQ(target.values.restitution, 0.3f);
    EXPECT_FLOAT_EQ(target.values.scoreMultiplier, 2.0f);
    EXPECT_FLOAT_EQ(target.values.characterFriction.x, 0.8f);
    EXPECT_FLOAT_EQ(target.values.characterFriction.y, 0.5f);
    EXPECT_FLOAT_EQ(target.values.platformFriction, 0.5f);
    EXPECT_FLOAT_EQ(target.values.gameplayAngleDirection, 90.0f);
    EXPECT_TRUE(target.values.fixedRotation);
}

TEST_F(AssetModels, PowerupSkipsAnEmptyGroundThresholdAndFindsTheSharedRecord) {
    auto powerup = make<KXModelAssetPowerup>();
    powerup->groundThresholdAttribute()->setEmptyAllowed(true);
    powerup->groundThresholdAttribute()->setEmpty(true);

    // No record made yet: nothing to write into, and nothing breaks.
    KXGameplayValuesTarget::setShared(nullptr);
    powerup->applyGameplayValues();

    RecordingTarget target;
    KXGameplayValuesTarget::setShared(&target);
    powerup->applyGameplayValues();
    EXPECT_EQ(target.saves, 1);
    EXPECT_FLOAT_EQ(target.values.groundThreshold, -7.0f);
    EXPECT_FLOAT_EQ(target.values.upForceCounter, 0.0f);
}

TEST_F(AssetModels, PowerupRewardsTruncateTowardZeroAndItShowsItsIdleAnimation) {
    auto powerup = createModel<KXModelAssetPowerup>();
    powerup->rewardCoinsAttribute()->setValue(2.9f, true);
    powerup->rewardPointsAttribute()->setValue(-2.9f, true);
    powerup->appearanceChanceAttribute()->setValue(49.99f, true);
    EXPECT_EQ(powerup->rewardCoins(), 2);
    EXPECT_EQ(powerup->rewardPoints(), -2);
    EXPECT_EQ(powerup->appearanceChance(), 49);

    auto idle = createModel<KXModelSpriteContainer>();
    auto start = createModel<KXModelSpriteContainer>();
    powerup->startAnimationAttribute()->addFrame(start);
    EXPECT_EQ(powerup->spriteContainer(), nullptr);
    powerup->idleAnimationAttribute()->addFrame(idle);
    EXPECT_EQ(powerup->spriteContainer(), idle);
    // The asset's attributes, then the powerup's own in stored order.
    std::vector<std::string> expected = attributeNames(*KXModelAsset::create());
    for (const char* name : {"Idle Animation",
                             "Powerup Type",
                             "Start Animation",
                             "Animation Placement",
                             "Animation Behaviour",
                             "Idle Sound",
                             "Start Sound",
                             "End Sound",
                             "Reward Coins",
                             "Show coin reward",
                             "Reward Points",
                             "Show points reward",
                             "Duration",
                             "Appearance Chance",
                             "Camera Shake",
                             "Camera Flash",
                             "Max Speed",
                             "Gravity",
                             "Jump Force",
                             "Jump Counter",
                             "Jump Timeout",
                             "Ground Threshold",
                             "Jump From Ground",
                             "Right Lean Force",
                             "Left Lean Force",
                             "Game Speed Min",
                             "Game Speed Max",
                             "Speed Increase",
                             "Friction",
                             "Time Warp",
                             "Velocity Drag",
                             "Rotation Drag",
                             "Bounce Force",
                             "Bounce",
                             "Score Multiplier",
                             "Air Drag",
                             "Platform Friction",
                             "Game Direction",
                             "Fixed Rotation"}) {
        expected.push_back(name);
    }
    EXPECT_EQ(attributeNames(*powerup), expected);
}

// --- placed assets ---

TEST_F(AssetModels, ObjectKeepsOnlyAssetsFromItsStoredReference) {
    auto sprite = createModel<KXModelSprite>();
    auto object = createModel<KXModelObjectAsset>();
    installKeysOf(*object);

    MapWriter writer(2);
    writer.key("id").pack(object->id());
    writer.key("Asset");
    writer.packer().pack_map(1);
    writer.key("value").pack(sprite->id());
    ReadMap read(writer.bytes());
    object->unpackConnections(read.map());

    EXPECT_EQ(object->asset(), nullptr);
    EXPECT_EQ(object->spriteContainer(), nullptr);
    EXPECT_EQ(object->collisionShape(), nullptr);
    EXPECT_FALSE(object->hasValidCollisionShape());
    EXPECT_EQ(object->idleSound(), nullptr);

    // A character asset, a kind of asset, is kept.
    auto character = createModel<KXModelAssetCharacter>();
    MapWriter again(2);
    again.key("id").pack(object->id());
    again.key("Asset");
    again.packer().pack_map(1);
    again.key("value").pack(character->id());
    ReadMap readAgain(again.bytes());
    object->unpackConnections(readAgain.map());
    EXPECT_EQ(object->asset(), character);
}

TEST_F(AssetModels, CollisionShapeMustExistAndBeUsable) {
    auto asset = createModel<KXModelAsset>();
    auto object = createModel<KXModelObjectAsset>();
    object->setAsset(asset, true);
    EXPECT_FALSE(object->hasValidCollisionShape());

    auto polygon = createModel<KXModelPolygon>();
    asset->collisionShapeAttribute()->setValue(polygon, true);
    EXPECT_FALSE(object->hasValidCollisionShape());

    asset->setCollisionBox(cocos2d::CCSize(40, 20), CCPoint(0, 0));
    EXPECT_EQ(object->collisionShape(), asset->collisionShape());
    EXPECT_TRUE(object->hasValidCollisionShape());
    object->setScale(CCPoint(0, 0));
    EXPECT_FALSE(object->hasValidCollisionShape());
}

TEST_F(AssetModels, ReferrerListsFollowTheAssetAndItsCopies) {
    auto first = createModel<KXModelAsset>();
    auto second = createModel<KXModelAsset>();
    auto object = createModel<KXModelObjectAsset>();
    KXBaseAttribute* reference = object->attribute("Asset");
    object->setAsset(first);
    EXPECT_EQ(first->referrers().size(), 1u);
    object->setAsset(second);
    EXPECT_TRUE(first->referrers().empty());
    ASSERT_EQ(second->referrers().size(), 1u);
    EXPECT_EQ(second->referrers().front(), reference);

    auto copy = std::static_pointer_cast<KXModelObjectAsset>(object->clone(false, false));
    EXPECT_EQ(copy->asset(), second);
    EXPECT_EQ(second->referrers().size(), 2u);
    copy.reset();
    EXPECT_EQ(second->referrers().size(), 1u);
}

TEST_F(AssetModels, PowerupObjectReadsThroughToItsPowerupAsset) {
    auto object = createModel<KXModelObjectAssetPowerup>();
    EXPECT_EQ(object->assetPowerup(), nullptr);
    EXPECT_EQ(object->rewardCoins(), 0);
    EXPECT_EQ(object->powerupType(), "");
    EXPECT_EQ(object->idleSound(), nullptr);

    // A character asset is an asset but not a powerup asset.
    object->setAsset(createModel<KXModelAssetCharacter>(), true);
    EXPECT_EQ(object->assetPowerup(), nullptr);

    auto powerup = createModel<KXModelAssetPowerup>();
    auto sound = createModel<KXModelSound>();
    powerup->powerupTypeAttribute()->setValue("kPowerupMagnet", true);
    powerup->rewardCoinsAttribute()->setValue(-2.9f, true);
    powerup->durationAttribute()->setValue(7.5f, true);
    powerup->showPointsRewardAttribute()->setValue(true, true);
    powerup->animationBehaviourAttribute()->setValue("kOverlayBehaviour", true);
    powerup->idleSoundAttribute()->setValue(sound, true);
    object->setAsset(powerup, true);

    EXPECT_EQ(object->assetPowerup(), powerup);
    EXPECT_EQ(object->powerupType(), "kPowerupMagnet");
    EXPECT_EQ(object->rewardCoins(), -2);
    EXPECT_FLOAT_EQ(object->duration(), 7.5f);
    EXPECT_TRUE(object->showPointsReward());
    EXPECT_FALSE(object->showCoinReward());
    EXPECT_EQ(object->animationBehaviour(), "kOverlayBehaviour");
    EXPECT_EQ(object->idleSound(), sound);
    // Through the base class too: the placed object's idle sound is its asset's.
    const KXModelObjectAsset& base = *object;
    EXPECT_EQ(base.idleSound(), sound);
    EXPECT_EQ(object->endSound(), nullptr);
}

} // namespace
