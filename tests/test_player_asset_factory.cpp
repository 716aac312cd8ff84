// The asset factory: kinds by exact model class (a subclass is not its base), instances at their
// own transform, units without an obstacle, the powerups' appearance roll and the placed character that
// becomes the player's selected one.

#include "model/KXDebugLog.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/classes/KXModelAssetCharacter.h"
#include "model/classes/KXModelAssetObstacle.h"
#include "model/classes/KXModelAssetPowerup.h"
#include "model/classes/KXModelComponentDamage.h"
#include "model/classes/KXModelObjectAssetCharacter.h"
#include "model/classes/KXModelObjectAssetPowerup.h"
#include "model/classes/KXModelObjectAssetUnit.h"
#include "model/classes/KXModelObjectInstance.h"
#include "model/classes/KXModelObjectLogic.h"
#include "player/objects/assets/KXPObjectAssetLogic.h"
#include "player/objects/assets/KXPObjectAssetUnit.h"
#include "player/store/KXPSettingsController.h"
#include "support/asset_world_support.h"
#include "support/unit_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

using namespace cocos2d;

namespace {

// A model class derived from the unit's.
class DerivedUnitModel : public KXModelObjectAssetUnit {
    KX_MODEL_IDENTITY(DerivedUnitModel, KXModelObjectAssetUnit)
    KX_MODEL_CLONE(DerivedUnitModel)

public:
    DerivedUnitModel() : KXModelObjectAssetUnit("") {}
    DerivedUnitModel(const DerivedUnitModel& source) : KXModelObjectAssetUnit(source) {}
};

class AssetFactory : public kxtest::AssetTest {
protected:
    void SetUp() override {
        kxtest::AssetTest::SetUp();
        KXPSettingsController::purgeShared();
    }
    void TearDown() override {
        KXPSettingsController::purgeShared();
        kxtest::AssetTest::TearDown();
    }

    // The "cannot make ... yet" lines written while `create` ran on the model.
    static std::vector<std::string> refusals(const std::shared_ptr<KXModel>& model) {
        KXDebugLogCapture capture;
        EXPECT_EQ(KXPObjectAsset::create(model), nullptr);
        return capture.lines();
    }

    static std::shared_ptr<KXModelObjectAssetUnit> unitWithObstacle() {
        std::shared_ptr<KXModelObjectAssetUnit> unit = createModel<KXModelObjectAssetUnit>();
        unit->setName("crate");
        unit->setAsset(createModel<KXModelAssetObstacle>());
        return unit;
    }

    static std::shared_ptr<KXModelAssetCharacter> characterAsset(bool usableShape) {
        std::shared_ptr<KXModelAssetCharacter> asset = createModel<KXModelAssetCharacter>();
        if (usableShape) {
            asset->setCollisionBox(CCSize(30, 60), CCPointZero);
        }
        return asset;
    }
};

TEST_F(AssetFactory, KindsGoByTheExactModelClass) {
    const std::shared_ptr<KXModelObjectAssetUnit> unit = unitWithObstacle();
    KXPObjectAsset* made = KXPObjectAsset::create(unit);
    ASSERT_NE(dynamic_cast<KXPObjectAssetUnit*>(made), nullptr);
    EXPECT_EQ(made->getModel(), unit);

    // The same data under a derived class is no unit, and nothing else either.
    std::shared_ptr<DerivedUnitModel> derived = KXModel::makeShared<DerivedUnitModel>();
    derived->setAsset(createModel<KXModelAssetObstacle>());
    EXPECT_TRUE(refusals(derived).empty());

    // A unit without an obstacle asset, the plain asset object and no model at all: nothing.
    std::shared_ptr<KXModelObjectAssetUnit> bare = createModel<KXModelObjectAssetUnit>();
    bare->setAsset(createModel<KXModelAsset>());
    EXPECT_TRUE(refusals(bare).empty());
    EXPECT_TRUE(refusals(kxtest::boxAssetModel()).empty());
    EXPECT_TRUE(refusals(nullptr).empty());

    // An instance stands for what it repeats, at its own transform.
    std::shared_ptr<KXModelObjectInstance> instance = createModel<KXModelObjectInstance>();
    instance->setReference(unit);
    instance->positionAttribute()->setValue(CCPoint(200.0f, 100.0f), true);
    instance->rotationAttribute()->setValue(30.0f, true);
    instance->scaleAttribute()->setValue(CCPoint(2.0f, -1.0f), true);
    KXPObjectAsset* repeated = KXPObjectAsset::create(instance);
    ASSERT_NE(dynamic_cast<KXPObjectAssetUnit*>(repeated), nullptr);
    EXPECT_EQ(repeated->getModel(), unit);
    EXPECT_FLOAT_EQ(repeated->getPosition().x, 200.0f);
    EXPECT_FLOAT_EQ(repeated->getPosition().y, 100.0f);
    EXPECT_FLOAT_EQ(repeated->getRotation(), 30.0f);
    EXPECT_FLOAT_EQ(repeated->getScaleX(), 2.0f);
    EXPECT_FLOAT_EQ(repeated->getScaleY(), -1.0f);
    EXPECT_TRUE(refusals(createModel<KXModelObjectInstance>()).empty());
    // Its box grows with the instance's scale (the unit's own picture is 40 x 40).
    instance->setReference(kxtest::unitModel("Crate", "kPlatformObjectType"));
    KXPObjectAsset* scaled = KXPObjectAsset::create(instance);
    ASSERT_NE(scaled, nullptr);
    const CCRect box = scaled->boundingRect();
    EXPECT_FLOAT_EQ(box.size.width, 80.0f);
    EXPECT_FLOAT_EQ(box.size.height, 40.0f);
    EXPECT_FLOAT_EQ(box.getMidX(), 200.0f);
    EXPECT_FLOAT_EQ(box.getMidY(), 100.0f);

    EXPECT_NE(dynamic_cast<KXPObjectAssetLogic*>(KXPObjectAsset::create(createModel<KXModelObjectLogic>())),
              nullptr);
}

TEST_F(AssetFactory, PowerupsAppearWithTheirChance) {
    std::shared_ptr<KXModelAssetPowerup> asset = createModel<KXModelAssetPowerup>();
    std::shared_ptr<KXModelObjectAssetPowerup> powerup = createModel<KXModelObjectAssetPowerup>();
    powerup->setAsset(asset);
    auto setChance = [&](float chance) { asset->appearanceChanceAttribute()->setValue(chance); };

    // 100 and above: always, without a draw.
    for (float chance : {100.0f, 250.0f}) {
        setChance(chance);
        std::srand(7);
        for (int draw = 0; draw < 50; ++draw) {
            EXPECT_TRUE(KXPObjectAsset::powerupAppears(*powerup));
        }
        std::srand(7);
        const int first = std::rand();
        std::srand(7);
        KXPObjectAsset::powerupAppears(*powerup);
        EXPECT_EQ(std::rand(), first);
    }

    // Below 100: one draw each, shown when rand() % 100 is at most the chance (so 0 still
    // shows one time in a hundred).
    for (float chance : {0.0f, 30.0f, 99.0f}) {
        setChance(chance);
        std::srand(11);
        std::vector<bool> expected;
        for (int draw = 0; draw < 1000; ++draw) {
            expected.push_back(std::rand() % 100 <= static_cast<int>(chance));
        }
        std::srand(11);
        int shown = 0;
        for (int draw = 0; draw < 1000; ++draw) {
            const bool appears = KXPObjectAsset::powerupAppears(*powerup);
            EXPECT_EQ(appears, expected[static_cast<size_t>(draw)])
                << "chance " << chance << " draw " << draw;
            shown += appears ? 1 : 0;
        }
        EXPECT_NEAR(shown, 10 * (static_cast<int>(chance) + 1), 40) << "chance " << chance;
    }
}

TEST_F(AssetFactory, APlacedCharacterBecomesTheSelectedOne) {
    std::shared_ptr<KXModelAssetCharacter> first = characterAsset(true);
    std::shared_ptr<KXModelAssetCharacter> second = characterAsset(true);
    std::shared_ptr<KXModelAssetCharacter> shapeless = characterAsset(false);
    std::shared_ptr<KXModelObjectAssetCharacter> placed = createModel<KXModelObjectAssetCharacter>();
    placed->setAsset(first);
    placed->setName("hero");
    std::shared_ptr<KXModelComponentDamage> child = createModel<KXModelComponentDamage>();
    placed->addChild(child);
    KXPSettingsController* settings = KXPSettingsController::shared();

    // Already showing the selected character: a plain copy, not a clone.
    settings->setSelectedCharacter(0);
    auto chosen = std::dynamic_pointer_cast<KXModelObjectAssetCharacter>(
        KXPObjectAsset::playableCharacterModel(placed));
    ASSERT_TRUE(chosen);
    EXPECT_NE(chosen, placed);
    EXPECT_NE(chosen->id(), placed->id());
    EXPECT_EQ(chosen->sharedFromThis(), chosen);
    EXPECT_EQ(chosen->asset(), first);
    EXPECT_EQ(chosen->name(), "hero");
    EXPECT_TRUE(chosen->children().empty());
    EXPECT_EQ(placed->asset(), first);

    // Another one: a model of its own that shows the selected one; the placed model is untouched.
    settings->setSelectedCharacter(1);
    chosen = std::dynamic_pointer_cast<KXModelObjectAssetCharacter>(
        KXPObjectAsset::playableCharacterModel(placed));
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->asset(), second);
    EXPECT_EQ(chosen->name(), "hero");
    EXPECT_EQ(placed->asset(), first);
    EXPECT_EQ(KXModelController::shared()->getModel(chosen->id()), nullptr);

    // A selected character without a usable shape: nothing at all.
    settings->setSelectedCharacter(2);
    EXPECT_EQ(KXPObjectAsset::playableCharacterModel(placed), nullptr);

    // Outside the list, also below it: the placed model itself, while its shape is usable. The
    // stored index is left as it is.
    for (int outside : {3, 40, -1}) {
        settings->setSelectedCharacter(outside);
        EXPECT_EQ(KXPObjectAsset::playableCharacterModel(placed), placed) << outside;
        EXPECT_EQ(settings->selectedCharacter(), outside);
    }
    placed->setAsset(shapeless);
    EXPECT_EQ(KXPObjectAsset::playableCharacterModel(placed), nullptr);
}

TEST_F(AssetFactory, CharacterCopiesAreNewModelsOfTheSameClass) {
    std::shared_ptr<KXModelObjectAssetCharacter> placed = createModel<KXModelObjectAssetCharacter>();
    placed->setAsset(characterAsset(true));
    placed->setPosition(ccp(12, 34));
    std::shared_ptr<KXModelObjectAssetCharacter> copy = KXPObjectAsset::makeCharacterModel(placed);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->typeId(), KXModelObjectAssetCharacter::staticType());
    EXPECT_NE(copy->id(), placed->id());
    EXPECT_EQ(copy->asset(), placed->asset());
    EXPECT_FLOAT_EQ(copy->animatedPosition(0.0f, 0).x, 12.0f);
    EXPECT_EQ(KXPObjectAsset::makeCharacterModel(nullptr), nullptr);
}

} // namespace
