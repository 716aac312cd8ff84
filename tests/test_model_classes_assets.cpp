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
#include "support/model_attribute_names.h"
#include "support/model_test_models.h"

using cocos2d::CCPoint;

namespace {

class AssetModels : public ::testing::Test {
protected:
    void SetUp() override { resetModelCore(); }
    void TearDown() override {
        KXGameplayValuesTarget::setShared(nullptr);
        resetModelCore();
    }

    template <class T> static std::shared_ptr<T> make() { return std::static_pointer_cast<T>(T::create()); }
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

// Records what a powerup writes, in order.
class RecordingTarget : public KXGameplayValuesTarget {
public:
    std::vector<std::string> calls;
    CCPoint moveSpeed, gravity, upForce, bounceForce, characterFriction;
    float upForceCounter = -1, upForceDuration = -1, groundThreshold = -1, rightLean = -1, leftLean = -1;
    float speedMin = -1, speedMax = -1, speedIncrease = -1, friction = -1, timeScale = -1;
    float velocityScale = -1, rotationScale = -1, restitution = -1, scoreMultiplier = -1;
    float platformFriction = -1, direction = -1;
    bool fromGround = true, fixedRotation = false;

    void saveValues() override { calls.push_back("save"); }
    void setMoveSpeed(float x, float y) override { note("moveSpeed"), moveSpeed = CCPoint(x, y); }
    void setGravity(const CCPoint& v) override { note("gravity"), gravity = v; }
    void setUpForce(const CCPoint& v) override { note("upForce"), upForce = v; }
    void setUpForceCounter(float v) override { note("upForceCounter"), upForceCounter = v; }
    void setUpForceDuration(float v) override { note("upForceDuration"), upForceDuration = v; }
    void setGroundThreshold(float v) override { note("groundThreshold"), groundThreshold = v; }
    void setUpForceFromGround(bool v) override { note("upForceFromGround"), fromGround = v; }
    void setRightLeanForce(float v) override { note("rightLeanForce"), rightLean = v; }
    void setLeftLeanForce(float v) override { note("leftLeanForce"), leftLean = v; }
    void setGameSpeedMin(float v) override { note("gameSpeedMin"), speedMin = v; }
    void setGameSpeedMax(float v) override { note("gameSpeedMax"), speedMax = v; }
    void setGameSpeedIncrease(float v) override { note("gameSpeedIncrease"), speedIncrease = v; }
    void setFriction(float v) override { note("friction"), friction = v; }
    void setSimulationTimeScale(float v) override { note("simulationTimeScale"), timeScale = v; }
    void setVelocityScale(float v) override { note("velocityScale"), velocityScale = v; }
    void setRotationScale(float v) override { note("rotationScale"), rotationScale = v; }
    void setBounceForce(const CCPoint& v) override { note("bounceForce"), bounceForce = v; }
    void setRestitution(float v) override { note("restitution"), restitution = v; }
    void setScoreMultiplier(float v) override { note("scoreMultiplier"), scoreMultiplier = v; }
    void setCharacterFriction(const CCPoint& v) override { note("characterFriction"), characterFriction = v; }
    void setPlatformFriction(float v) override { note("platformFriction"), platformFriction = v; }
    void setGameplayAngleDirection(float v) override { note("gameplayAngleDirection"), direction = v; }
    void setFixedRotation(bool v) override { note("fixedRotation"), fixedRotation = v; }

private:
    void note(const char* name) { calls.push_back(name); }
};

template <class A> A* typed(const KXModel& model, const char* name) {
    A* attribute = dynamic_cast<A*>(model.attribute(name));
    EXPECT_NE(attribute, nullptr) << name;
    return attribute;
}

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

    const std::vector<std::string> order = {"save",
                                            "moveSpeed",
                                            "gravity",
                                            "upForce",
                                            "upForceCounter",
                                            "upForceDuration",
                                            "groundThreshold",
                                            "upForceFromGround",
                                            "rightLeanForce",
                                            "leftLeanForce",
                                            "gameSpeedMin",
                                            "gameSpeedMax",
                                            "gameSpeedIncrease",
                                            "friction",
                                            "simulationTimeScale",
                                            "velocityScale",
                                            "rotationScale",
                                            "bounceForce",
                                            "restitution",
                                            "scoreMultiplier",
                                            "characterFriction",
                                            "platformFriction",
                                            "gameplayAngleDirection",
                                            "fixedRotation"};
    EXPECT_EQ(target.calls, order);
    EXPECT_EQ(target.moveSpeed, CCPoint(0, 0));
    EXPECT_EQ(target.gravity, CCPoint(0, 0));
    EXPECT_EQ(target.upForce, CCPoint(0, 0));
    EXPECT_EQ(target.characterFriction, CCPoint(1, 1));
    EXPECT_FLOAT_EQ(target.groundThreshold, 0.0f);
    EXPECT_FLOAT_EQ(target.timeScale, 0.0f);
    EXPECT_FALSE(target.fromGround);
    EXPECT_FALSE(target.fixedRotation);
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
    EXPECT_FLOAT_EQ(target.moveSpeed.x, 10.0f);
    EXPECT_FLOAT_EQ(target.moveSpeed.y, 20.0f);
    EXPECT_EQ(target.gravity, CCPoint(0, -20));
    EXPECT_FLOAT_EQ(target.upForce.x, 2.0f);
    EXPECT_FLOAT_EQ(target.upForce.y, -1.0f);
    EXPECT_FLOAT_EQ(target.upForceCounter, 2.0f);
    EXPECT_FLOAT_EQ(target.upForceDuration, 0.4f);
    EXPECT_FLOAT_EQ(target.groundThreshold, 0.02f);
    EXPECT_TRUE(target.fromGround);
    EXPECT_FLOAT_EQ(target.rightLean, 0.5f);
    EXPECT_FLOAT_EQ(target.leftLean, -0.25f);
    EXPECT_FLOAT_EQ(target.speedMin, 3.0f);
    EXPECT_FLOAT_EQ(target.speedMax, 10.0f);
    EXPECT_FLOAT_EQ(target.speedIncrease, 0.2f);
    EXPECT_FLOAT_EQ(target.friction, 0.25f);
    EXPECT_FLOAT_EQ(target.timeScale, 1.0f);
    EXPECT_FLOAT_EQ(target.velocityScale, 0.3f);
    EXPECT_FLOAT_EQ(target.rotationScale, 0.7f);
    EXPECT_FLOAT_EQ(target.bounceForce.x, 2.0f);
    EXPECT_FLOAT_EQ(target.bounceForce.y, 3.0f);
    EXPECT_FLOAT_EQ(target.restitution, 0.3f);
    EXPECT_FLOAT_EQ(target.scoreMultiplier, 2.0f);
    EXPECT_FLOAT_EQ(target.characterFriction.x, 0.8f);
    EXPECT_FLOAT_EQ(target.characterFriction.y, 0.5f);
    EXPECT_FLOAT_EQ(target.platformFriction, 0.5f);
    EXPECT_FLOAT_EQ(target.direction, 90.0f);
    EXPECT_TRUE(target.fixedRotation);
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
    EXPECT_EQ(target.calls.size(), 23u);
    EXPECT_FLOAT_EQ(target.groundThreshold, -1.0f);
    EXPECT_EQ(std::count(target.calls.begin(), target.calls.end(), "groundThreshold"), 0);
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
    EXPECT_EQ(attributeNames(*powerup).size(), attributeNames(*KXModelAsset::create()).size() + 39);
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
