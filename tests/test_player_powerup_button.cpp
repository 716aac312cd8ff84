// Powerup buttons with the sample game's font: the stock count and the refill labels, the
// empty stock disabling the button (never with unlimited use), the action fired on touch-down
// and not again on release, and reading the selection id.

#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelAssetPowerup.h"
#include "model/classes/KXModelObjectButtonPowerup.h"
#include "model/classes/KXModelQueries.h"
#include "player/input/KXPInputController.h"
#include "player/objects/buttons/KXPObjectButtonPowerup.h"
#include "player/store/KXPSettingsController.h"
#include "support/sample_game_support.h"
#include "support/scene_test_support.h"
#include "support/state_guards.h"
#include "support/temp_folder.h"

#include "cocos2d.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace cocos2d;

namespace {

class Target : public CCObject {
public:
    void fired(CCObject*) { ++calls; }
    int calls = 0;
};

class PowerupButton : public kxtest::SceneTest {
protected:
    kxtest::SampleGame game;
    TempFolder folder;
    std::shared_ptr<KXModelAssetPowerup> asset;
    std::shared_ptr<KXModelObjectButtonPowerup> model;
    std::vector<CCObject*> held;

    void SetUp() override {
        kxtest::SceneTest::SetUp();
        CCUserDefault::setXMLFilePath(folder.file("UserDefault.xml"));
        KXPSettingsController::purgeShared();
        std::string failure;
        if (!game.write(&failure)) {
            GTEST_SKIP() << failure;
        }
        ASSERT_TRUE(game.load(&failure)) << failure;
        asset = createModel<KXModelAssetPowerup>();
        model = createModel<KXModelObjectButtonPowerup>();
        model->intervalAttribute()->setValue(0.0f, true);
        model->actionAttribute()->setValue(std::to_string(asset->id()), true);
    }
    void TearDown() override {
        for (CCObject* object : held) {
            object->release();
        }
        held.clear();
        KXPInputController::purgeShared();
        KXPSettingsController::purgeShared();
        CCUserDefault::setXMLFilePath("");
        kxtest::SceneTest::TearDown();
    }

    KXPObjectButtonPowerup* make() {
        auto* button = dynamic_cast<KXPObjectButtonPowerup*>(KXPObjectButton::create(model, nullptr));
        EXPECT_NE(button, nullptr);
        if (button != nullptr) {
            CCObject* object = button;
            object->retain();
            held.push_back(object);
        }
        return button;
    }

    static KXPSettingsController* settings() { return KXPSettingsController::shared(); }
};

TEST_F(PowerupButton, TheCountFollowsTheStockAndAnEmptyStockDisablesTheButton) {
    settings()->setInventoryCount(asset, 2);
    KXPObjectButtonPowerup* button = make();
    ASSERT_NE(button->countLabel(), nullptr);
    EXPECT_EQ(button->countLabel()->retainCount(), 1u); // the button's child list holds it alone
    EXPECT_EQ(button->powerupAsset(), asset);
    EXPECT_STREQ(button->countLabel()->getString(), "2");
    EXPECT_TRUE(button->isEnabled());
    settings()->setInventoryCount(asset, 0);
    button->update(0.0f);
    EXPECT_STREQ(button->countLabel()->getString(), "0");
    EXPECT_FALSE(button->isEnabled());
    EXPECT_TRUE(button->isVisible());
    settings()->setInventoryCount(asset, 1);
    button->update(0.0f);
    EXPECT_TRUE(button->isEnabled());

    // Unlimited use: no count, never disabled for want of stock.
    model->unlimitedUseAttribute()->setValue(true, true);
    settings()->setInventoryCount(asset, 0);
    KXPObjectButtonPowerup* unlimited = make();
    EXPECT_EQ(unlimited->countLabel(), nullptr);
    EXPECT_TRUE(unlimited->isEnabled());
}

TEST_F(PowerupButton, TheRefillLabelShowsTheTimeLeftWhileTheStockIsBelowItsMaximum) {
    EXPECT_EQ(KXPObjectButtonPowerup::refillText(3725), "01:02:05");
    EXPECT_EQ(KXPObjectButtonPowerup::refillText(0), "00:00:00");
    EXPECT_EQ(KXPObjectButtonPowerup::refillText(59), "00:00:59");

    model->refillTimeoutAttribute()->setValue(2.0f, true);
    model->maxRefillAttribute()->setValue(3.0f, true);
    settings()->setInventoryCount(asset, 1);
    KXPObjectButtonPowerup* button = make();
    ASSERT_NE(button->refillLabel(), nullptr);
    // Setting the model started the two-minute clock.
    EXPECT_EQ(settings()->refillRecords().count(asset->id()), 1u);
    EXPECT_TRUE(button->refillLabel()->isVisible());
    const std::string text = button->refillLabel()->getString();
    EXPECT_TRUE(text == "00:02:00" || text == "00:01:59") << text;
    settings()->setInventoryCount(asset, 3);
    button->update(0.0f);
    EXPECT_FALSE(button->refillLabel()->isVisible());
}

TEST_F(PowerupButton, ForcedActionFiresOnTouchDownOnly) {
    for (const bool force : {true, false}) {
        model->forceActionOnPressAttribute()->setValue(force, true);
        settings()->setInventoryCount(asset, 5);
        KXPObjectButtonPowerup* button = make();
        Target* target = new Target();
        button->setMenuTarget(target, menu_selector(Target::fired));
        button->selected();
        EXPECT_EQ(target->calls, force ? 1 : 0) << force;
        button->unselected();
        button->activate();
        EXPECT_EQ(target->calls, 1) << force;
        target->release();
    }
}

TEST_F(PowerupButton, TheSelectionIsALeadingDecimalId) {
    for (const auto& entry : std::vector<std::pair<std::string, int>>{
             {"12", 12}, {"12abc", 12}, {" 7", 7}, {"abc", 0}, {"", 0}}) {
        model->actionAttribute()->setValue(entry.first, true);
        EXPECT_EQ(KXPObjectButtonPowerup::powerupSelectionId(*model), entry.second) << entry.first;
    }
    // Naming no powerup asset: shown, but without stock or refill.
    model->actionAttribute()->setValue("999999", true);
    KXPObjectButtonPowerup* button = make();
    EXPECT_FALSE(button->powerupAsset());
    EXPECT_TRUE(button->isVisible());
}

TEST_F(PowerupButton, ASelectionPastTheIntRangeFindsItsPowerup) {
    const kxtest::ScopedIdCounter ids(0x80000004u);
    auto far = createModel<KXModelAssetPowerup>();
    ASSERT_EQ(far->id(), 2147483653u);
    model->actionAttribute()->setValue("2147483653", true);
    EXPECT_EQ(KXPObjectButtonPowerup::powerupSelectionId(*model), 2147483653u);
    EXPECT_EQ(make()->powerupAsset(), far);
}

} // namespace
