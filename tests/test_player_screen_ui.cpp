// The UI screen's button actions over in-memory screen graphs: the full-screen pair, back and
// back-to navigation, links with their open modes, missing links, controls, the reset of all
// progress, and character unlocking.
#include <gtest/gtest.h>

#include "cocos2d.h"
#include "model/KXDebugLog.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelAssetCharacter.h"
#include "model/classes/KXModelComponentScore.h"
#include "model/classes/KXModelGeneralSettings.h"
#include "model/classes/KXModelObjectButton.h"
#include "model/classes/KXModelObjectButtonSwitch.h"
#include "model/classes/KXModelObjectCharacterSelector.h"
#include "model/classes/KXModelObjectUnlocker.h"
#include "player/app/KXPScreensController.h"
#include "player/base/KXPGameDataLoaded.h"
#include "player/base/KXPGameField.h"
#include "player/input/KXPInputController.h"
#include "player/objects/KXPObjectCharacterSelector.h"
#include "player/objects/buttons/KXPObjectButton.h"
#include "player/screens/KXPScreenUi.h"
#include "player/store/KXPCheckpointTable.h"
#include "player/store/KXPLockStateTable.h"
#include "player/store/KXPScoreTable.h"
#include "player/store/KXPSettingsController.h"
#include "player/store/KXPSwitchStateTable.h"
#include "support/model_test_models.h"
#include "support/scene_test_support.h"
#include "support/screen_graph.h"
#include "support/screen_test_support.h"
#include "support/temp_folder.h"

#include <unistd.h>

using namespace cocos2d;

namespace {

class ScreenUi : public kxtest::ScreenTest {
protected:
    std::shared_ptr<KXModelObjectButton> button(KXModelScreen& screen, const std::string& name,
                                                const std::string& action, float x = 200.0f) {
        auto model =
            graph.object<KXModelObjectButton>(screen, "KXModelObjectButton", name, CCPoint(x, 200.0f), 1);
        model->actionAttribute()->setValue(action, true);
        model->intervalAttribute()->setValue(0.0f, true);
        return model;
    }

    // The controller's current scene, run by the director; its UI layer.
    KXPScreenUi* show() {
        CCScene* scene = screens()->currentScene();
        EXPECT_NE(scene, nullptr);
        director()->runWithScene(scene);
        frames(1);
        return screens()->currentUi();
    }

    static void press(KXPObjectButton* button) {
        button->selected();
        button->unselected();
        button->activate();
    }
};

TEST_F(ScreenUi, TheFullScreenPairShowsOneButtonAndSwapsOnPress) {
    auto menu = graph.ui("KXPScreenStart");
    button(*menu, "Full", "kFullscreen");
    button(*menu, "Window", "kWindowed");
    KXPSettingsController::shared()->setFullscreen(true);
    KXPScreenUi* ui = show();
    ASSERT_NE(ui, nullptr);
    KXPObjectButton* full = ui->buttonWithAction("kFullscreen");
    KXPObjectButton* windowed = ui->buttonWithAction("kWindowed");
    EXPECT_FALSE(full->isVisible());
    EXPECT_TRUE(windowed->isVisible());

    press(windowed);
    EXPECT_TRUE(full->isVisible());
    EXPECT_FALSE(windowed->isVisible());
    EXPECT_FALSE(KXPSettingsController::shared()->isFullscreen());
    press(full);
    EXPECT_FALSE(full->isVisible());
    EXPECT_TRUE(windowed->isVisible());
    EXPECT_TRUE(KXPSettingsController::shared()->isFullscreen());
}

TEST_F(ScreenUi, TwoBacksDuringOneClosingAnimationGoBackOnce) {
    for (const char* key : {"first", "second", "third"}) {
        auto screen = graph.ui(key);
        screen->closeAnimationFramesAttribute()->setValue(6, true);
        button(*screen, "Back", "kBackButton");
    }
    graph.start();
    graph.link("KXPScreenStart", "Load", "first");
    graph.link("first", "Next", "second");
    graph.link("second", "Next", "third");
    ASSERT_TRUE(screens()->openUi("Load", false));
    ASSERT_TRUE(screens()->openUi("Next", false));
    ASSERT_TRUE(screens()->openUi("Next", false));
    KXPScreenUi* third = show();
    KXPObjectButton* back = third->buttonWithAction("kBackButton");
    press(back);
    press(back);
    third->keyBackClicked();
    frames(20);
    EXPECT_EQ(screens()->currentUiKey(), "second");
    EXPECT_EQ(KXPScreen::runningScreen()->model()->key(), "second");
}

TEST_F(ScreenUi, ANoActionLinkOpensItsSceneWithTheScoreReset) {
    auto menu = graph.ui("menu");
    graph.start();
    graph.link("KXPScreenStart", "Load", "menu");
    auto world = graph.scene("world");
    auto score =
        std::static_pointer_cast<KXModelComponentScore>(kxtest::ScreenGraph::make("KXModelComponentScore"));
    score->resetPointsAttribute()->setValue(true, true);
    world->addChild(score, true);
    graph.link("menu", "Play", "world");
    graph.link("menu", "Continue", "world");
    auto reset = button(*menu, "Play", "kNoAction");
    auto keep = button(*menu, "Continue", "");
    ASSERT_TRUE(screens()->openUi("Load", false));
    KXPScreenUi* ui = show();

    // Points committed at the last checkpoint come back, unless the link resets them.
    KXPScoreRecord& record = worldScores("world");
    record.points.session = 7;
    record.points.commit();
    ui->performButtonAction(keep);
    EXPECT_EQ(screens()->currentSceneKey(), "world");
    EXPECT_EQ(record.points.session, 7);

    screens()->reset();
    ASSERT_TRUE(screens()->openUi("Load", false));
    ui = show();
    ui->performButtonAction(reset);
    EXPECT_EQ(screens()->currentSceneKey(), "world");
    EXPECT_EQ(record.points.session, 0);
}

TEST_F(ScreenUi, NavigationToNothingChangesNothing) {
    auto menu = graph.ui("menu");
    graph.start();
    graph.link("KXPScreenStart", "Load", "menu");
    auto lost = button(*menu, "Lost", "");
    auto backTo = button(*menu, "Away", "kBackToButton", 500.0f);
    backTo->backToAttribute()->setValue("no such screen", true);
    ASSERT_TRUE(screens()->openUi("Load", false));
    KXPScreenUi* ui = show();
    KXDebugLogCapture log;
    ui->performButtonAction(lost);
    press(ui->buttonWithAction("kBackToButton"));
    frames(2);
    EXPECT_TRUE(log.contains("[KXPScreenUi] Lost leads to no screen"));
    EXPECT_EQ(screens()->uiKeys(), std::vector<std::string>({"menu"}));
    EXPECT_EQ(KXPScreen::runningScreen(), ui);
}

TEST_F(ScreenUi, BackToTheMenuLeavesTheGame) {
    auto hud = graph.ui("hud");
    graph.ui("menu");
    graph.scene("world");
    graph.link("world", "UI", "hud");
    auto menuButton = button(*hud, "Menu", "kBackToButton");
    menuButton->backToAttribute()->setValue("menu", true);
    screens()->resetToScene("world");
    KXPScreenUi* ui = show();
    ASSERT_NE(ui, nullptr);
    ASSERT_NE(screens()->currentScreenScene(), nullptr);
    press(ui->buttonWithAction("kBackToButton"));
    frames(2);
    EXPECT_EQ(screens()->currentSceneKey(), "");
    EXPECT_EQ(screens()->uiKeys(), std::vector<std::string>({"menu"}));
    ASSERT_NE(KXPScreen::runningScreen(), nullptr);
    EXPECT_EQ(KXPScreen::runningScreen()->model()->key(), "menu");
}

TEST_F(ScreenUi, ControlsFollowTheirSwitch) {
    auto menu = graph.ui("KXPScreenStart");
    button(*menu, "A", "");
    button(*menu, "B", "", 500.0f);
    KXPScreenUi* ui = show();
    ui->setControlsEnabled(false);
    EXPECT_FALSE(ui->controlsEnabled());
    for (KXPObjectButton* each : ui->allButtons()) {
        EXPECT_FALSE(each->isEnabled());
    }
    ui->setControlsEnabled(true);
    for (KXPObjectButton* each : ui->allButtons()) {
        EXPECT_TRUE(each->isEnabled());
    }
}

TEST_F(ScreenUi, TheHudsControlsSwitchTheFieldsInputAndANewHudGivesItBack) {
    auto hud = graph.ui("KXPScreenStart");
    button(*hud, "A", "");
    KXPInputController* input = KXPInputController::shared();
    KXPScreenUi* ui = show();
    ui->setControlsEnabled(false);
    EXPECT_FALSE(input->isEnabled());
    // A rebuilt HUD (a restart) turns the input back on.
    screens()->resetToUi("KXPScreenStart");
    show();
    EXPECT_TRUE(input->isEnabled());
    KXPInputController::purgeShared();
}

TEST_F(ScreenUi, ScreensRunUnlockersKeepSelectorsAndLetSwitchesOnlyFlip) {
    lockState("Castle") = true;
    auto menu = graph.ui("KXPScreenStart");
    auto unlocker = graph.object<KXModelObjectUnlocker>(*menu, "KXModelObjectUnlocker", "Open Castle");
    dynamic_cast<KXAttributeString*>(unlocker->attribute("Unlock Type"))->setValue("kButtonUnlock", true);
    dynamic_cast<KXAttributeString*>(unlocker->attribute("Object"))->setValue("Castle", true);
    graph.object<KXModelObjectCharacterSelector>(*menu, "KXModelObjectCharacterSelector", "Heroes");
    auto toggle = graph.object<KXModelObjectButtonSwitch>(*menu, "KXModelObjectButtonSwitch", "Toggle",
                                                          CCPoint(600.0f, 200.0f), 1);
    toggle->intervalAttribute()->setValue(0.0f, true);
    KXPScreenUi* ui = show();

    EXPECT_FALSE(lockState("Castle"));
    KXPObjectCharacterSelector* selector = ui->findCharacterSelector();
    ASSERT_NE(selector, nullptr);
    EXPECT_EQ(selector->getParent(), ui->controlsNode());
    ui->setAnimationState(KXPScreen::kAnimationClosing);
    EXPECT_EQ(selector->animationKey(), KXPScreen::kAnimationClosing);

    KXDebugLogCapture log;
    KXPObjectButton* flip = nullptr;
    for (KXPObjectButton* each : ui->allButtons()) {
        flip = each->getModel() == toggle ? each : flip;
    }
    ASSERT_NE(flip, nullptr);
    press(flip);
    frames(2);
    EXPECT_TRUE(switchStateTable()[toggle]);
    EXPECT_FALSE(log.contains("leads to no screen"));
    EXPECT_EQ(KXPScreen::runningScreen(), ui);
    clearSwitchStates();
}

// The reset button takes all progress back: the score, checkpoint and lock tables, the bought
// characters and the choice among them. The store's file goes with it and is written again, with
// none of that progress, only when saving is allowed (once the game's data is loaded).
TEST_F(ScreenUi, TheResetButtonTakesAllProgressBackAndRewritesTheStoreOnlyOnceLoaded) {
    struct Afterwards {
        ~Afterwards() {
            setGameDataLoaded(false);
            clearLockStates();
        }
    } afterwards;
    for (const char* method : {"kFree", "kInGameCurrency"}) {
        auto character = std::static_pointer_cast<KXModelAssetCharacter>(
            kxtest::ScreenGraph::make("KXModelAssetCharacter"));
        character->purchaseMethodAttribute()->setValue(method, true);
    }
    auto menu = graph.ui("KXPScreenStart");
    button(*menu, "Reset", "kResetButton");
    KXPScreenUi* ui = show();
    KXPObjectButton* reset = ui->buttonWithAction("kResetButton");
    ASSERT_NE(reset, nullptr);
    const std::string storeFile = folder.file("UserDefault.xml");
    KXPSettingsController* settings = KXPSettingsController::shared();
    for (const bool loaded : {false, true}) {
        setGameDataLoaded(loaded);
        worldScores("").coins.total = 40;
        checkpointRecord("world").levelSectionId = 3;
        lockState("Second Level") = false;
        settings->unlockCharacter(1);
        settings->setSelectedCharacter(1);
        CCUserDefault::sharedUserDefault()->setStringForKey("Other", "kept");
        ASSERT_TRUE(CCUserDefault::sharedUserDefault()->flush());
        ASSERT_EQ(::access(storeFile.c_str(), F_OK), 0);

        press(reset);
        EXPECT_TRUE(scoreTable().empty()) << loaded;
        EXPECT_TRUE(checkpointTable().empty()) << loaded;
        EXPECT_TRUE(lockStateTable().empty()) << loaded;
        EXPECT_FALSE(settings->isCharacterUnlocked(1)) << loaded;
        EXPECT_EQ(settings->selectedCharacter(), 0) << loaded;
        EXPECT_EQ(::access(storeFile.c_str(), F_OK) == 0, loaded);
        EXPECT_EQ(CCUserDefault::sharedUserDefault()->getStringForKey("Other"), "") << loaded;
    }
    // What was written reads back as a fresh start.
    KXPSettingsController::purgeShared();
    CCUserDefault::purgeSharedUserDefault();
    KXPSettingsController::shared()->load();
    EXPECT_EQ(worldScores("").coins.total, 0);
    EXPECT_TRUE(checkpointTable().empty());
    EXPECT_FALSE(KXPSettingsController::shared()->isCharacterUnlocked(1));
    EXPECT_TRUE(KXPSettingsController::shared()->isCharacterUnlocked(0));
}

TEST_F(ScreenUi, UnlockingBuysAnAffordableLockedCharacter) {
    for (float price : {10.0f, 100.0f}) {
        auto character = std::static_pointer_cast<KXModelAssetCharacter>(
            kxtest::ScreenGraph::make("KXModelAssetCharacter"));
        character->purchaseMethodAttribute()->setValue("kInGameCurrency", true);
        character->priceAttribute()->setValue(price, true);
    }
    KXModelGeneralSettings::shared()->notEnoughCurrencyTextAttribute()->setValue("Not enough", true);
    auto shop = graph.ui("KXPScreenStart");
    button(*shop, "Unlock", "kUnlockCharacter");
    KXPScoreCount& coins = worldScores("").coins;
    coins.total = 15;
    coins.session = 15;
    KXPScreenUi* ui = show();
    KXPObjectButton* unlock = ui->buttonWithAction("kUnlockCharacter");
    EXPECT_TRUE(unlock->isVisible());

    press(unlock);
    KXPSettingsController* settings = KXPSettingsController::shared();
    EXPECT_TRUE(settings->isCharacterUnlocked(0));
    EXPECT_FALSE(settings->isCharacterUnlocked(1));
    EXPECT_EQ(settings->selectedCharacter(), 0);
    EXPECT_EQ(coins.total, 5);
    EXPECT_EQ(coins.session, 5);
    EXPECT_FALSE(unlock->isVisible());

    // Nothing affordable: nothing changes.
    ui->unlockRandomCharacter();
    EXPECT_FALSE(settings->isCharacterUnlocked(1));
    EXPECT_EQ(coins.total, 5);
}

TEST_F(ScreenUi, WithASelectorTheSelectorShowsAndUnlocksTheCharacter) {
    for (float price : {500.0f, 10.0f}) {
        auto character = std::static_pointer_cast<KXModelAssetCharacter>(
            kxtest::ScreenGraph::make("KXModelAssetCharacter"));
        character->purchaseMethodAttribute()->setValue("kInGameCurrency", true);
        character->priceAttribute()->setValue(price, true);
    }
    auto shop = graph.ui("KXPScreenStart");
    graph.object<KXModelObjectCharacterSelector>(*shop, "KXModelObjectCharacterSelector", "Heroes");
    button(*shop, "Unlock", "kUnlockCharacter");
    KXPScoreCount& coins = worldScores("").coins;
    coins.total = 15;
    coins.session = 15;
    KXPScreenUi* ui = show();
    KXPObjectCharacterSelector* selector = ui->findCharacterSelector();
    ASSERT_NE(selector, nullptr);

    ui->unlockRandomCharacter();
    KXPSettingsController* settings = KXPSettingsController::shared();
    EXPECT_EQ(selector->shownIndex(), 1);
    EXPECT_TRUE(settings->isCharacterUnlocked(1));
    EXPECT_FALSE(settings->isCharacterUnlocked(0));
    EXPECT_EQ(coins.total, 5);
    EXPECT_FALSE(ui->buttonWithAction("kUnlockCharacter")->isVisible());
}

} // namespace
