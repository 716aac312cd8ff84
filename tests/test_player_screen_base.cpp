// The screen base over screen models built in the store: objects by kind with their menus, touch
// priority and swallowing through the real touch dispatcher, the opening, idle and closing
// animation with deferred actions, overlays, the hand-over to the next scene, the music of a
// HUD, ads removal, and the coin and powerup buttons.
#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "audio/AudioBackendSlot.h"
#include "audio/RecordingAudioBackend.h"
#include "cocos2d.h"
#include "model/KXDebugLog.h"
#include "model/classes/KXModelAssetPowerup.h"
#include "model/classes/KXModelObjectButton.h"
#include "model/classes/KXModelObjectButtonPowerup.h"
#include "model/classes/KXModelObjectButtonPurchase.h"
#include "model/classes/KXModelObjectLabel.h"
#include "model/classes/KXModelObjectLoadingBar.h"
#include "model/classes/KXModelSound.h"
#include "player/app/KXPScreensController.h"
#include "player/base/KXPGameField.h"
#include "player/field/KXPScreenScene.h"
#include "player/objects/buttons/KXPObjectButton.h"
#include "player/objects/buttons/KXPObjectButtonPowerup.h"
#include "player/screens/KXPScreen.h"
#include "player/screens/KXPScreenUi.h"
#include "player/sound/KXSound.h"
#include "player/store/KXPScoreTable.h"
#include "player/store/KXPSettingsController.h"
#include "support/model_test_models.h"
#include "support/scene_test_support.h"
#include "support/screen_graph.h"
#include "support/screen_test_support.h"
#include "support/temp_folder.h"

using namespace cocos2d;

namespace {

// Records the actions its buttons lead to.
class RecordingScreen : public KXPScreen {
public:
    std::vector<std::string> actions;
    void performButtonAction(const std::shared_ptr<KXModelObjectButton>& model) override {
        actions.push_back(model->name());
    }
};

// Takes runtime nodes into its map and update list as a built screen takes its objects.
class AdoptingScreen : public KXPScreen {
public:
    void adopt(const std::shared_ptr<KXModelObject>& model, CCNode* node) { enterObject(model, node, true); }
};

// A node that counts its updates, runs a call in each, and says when it goes.
class CallingNode : public CCNode {
public:
    explicit CallingNode(bool* gone) : m_gone(gone) { autorelease(); }
    ~CallingNode() override { *m_gone = true; }
    void update(float) override {
        ++updates;
        if (onUpdate) {
            onUpdate();
        }
    }
    std::function<void()> onUpdate;
    int updates = 0;

private:
    bool* m_gone;
};

// A running game whose use of a powerup refills its stock, as a rebuild of the level does.
class RefillingField : public KXPScreenScene {
public:
    void usePowerup(const std::shared_ptr<KXModelAssetPowerup>& asset, bool) override {
        KXPSettingsController::shared()->setInventoryCount(asset, 5);
    }
};

class ScreenBase : public kxtest::ScreenTest {
protected:
    std::shared_ptr<KXModelObjectButton> button(KXModelScreen& screen, const std::string& name,
                                                CCPoint position, int depth, bool blockTouch = true,
                                                const std::string& className = "KXModelObjectButton") {
        auto model = graph.object<KXModelObjectButton>(screen, className, name, position, depth);
        model->blockTouchAttribute()->setValue(blockTouch, true);
        model->intervalAttribute()->setValue(0.0f, true);
        return model;
    }

    // A screen of that key built, set up and running in its own scene.
    RecordingScreen* run(const std::string& key) {
        auto* screen = new RecordingScreen();
        screen->autorelease();
        EXPECT_TRUE(screen->buildFromModel(key, true));
        EXPECT_TRUE(screen->init());
        screen->scheduleUpdate();
        CCScene* scene = CCScene::create();
        scene->addChild(screen, 0, 0);
        director()->runWithScene(scene);
        frames(1);
        return screen;
    }

    // A touch at a point of the design area (y up), as the mouse delivers it.
    void tap(float x, float y) {
        const CCPoint pixel = director()->convertToUI(CCPoint(x, y));
        int id = 0;
        float px = pixel.x;
        float py = pixel.y;
        view.handleTouchesBegin(1, &id, &px, &py);
        view.handleTouchesEnd(1, &id, &px, &py);
    }

    // A tap on the middle of the node made for that model, wherever the screen placed it.
    void tapOn(KXPScreen* screen, const std::shared_ptr<KXModelObject>& model) {
        CCNode* node = screen->nodeForModel(model);
        ASSERT_NE(node, nullptr);
        const CCPoint at = node->getParent()->convertToWorldSpace(node->getPosition());
        tap(at.x, at.y);
    }

    static CCMenu* menuOf(KXPScreen* screen, const std::shared_ptr<KXModelObject>& model) {
        CCNode* button = screen->nodeForModel(model);
        return button ? dynamic_cast<CCMenu*>(button->getParent()) : nullptr;
    }

    // A recording sound back end for a test that plays or stops music, ended after the test.
    audio::RecordingAudioBackend* recordSound() {
        auto backend = std::make_unique<audio::RecordingAudioBackend>();
        audio::RecordingAudioBackend* recorder = backend.get();
        audio::installBackend(std::move(backend));
        m_recording = true;
        return recorder;
    }

    void TearDown() override {
        if (m_recording) {
            KXSound::stopGroup(KXSound::kEveryGroup, true);
            audio::shutdownAudio();
        }
        ScreenTest::TearDown();
    }

private:
    bool m_recording = false;
};

TEST_F(ScreenBase, ObjectsAreMadeByKindUnderTheControlsNode) {
    auto model = graph.ui("objects");
    auto label = graph.object(*model, "KXModelObjectLabel", "Label", CCPoint(10, 10), 3);
    auto hidden = graph.object(*model, "KXModelObjectLabel", "Hidden", CCPoint(10, 10), 3);
    hidden->hiddenAttribute()->setValue(true, true);
    auto image = graph.object(*model, "KXModelObjectImage", "Image", CCPoint(10, 10), 7);
    auto bar = graph.object(*model, "KXModelObjectLoadingBar", "Bar", CCPoint(10, 10), 1);
    auto plain = graph.object(*model, "KXModelObject", "Plain", CCPoint(10, 10), 1);
    auto high = button(*model, "High", CCPoint(200, 200), 5, false);
    auto low = button(*model, "Low", CCPoint(200, 200), 1);

    RecordingScreen* screen = run("objects");
    EXPECT_EQ(screen->controlsNode()->getParent(), screen);
    EXPECT_EQ(screen->controlsNode()->getZOrder(), KXPScreen::kControlsZOrder);
    EXPECT_EQ(screen->objectMap().size(), 5u);
    EXPECT_EQ(screen->nodeForModel(hidden), nullptr);
    EXPECT_EQ(screen->nodeForModel(plain), nullptr);
    ASSERT_NE(screen->nodeForModel(label), nullptr);
    EXPECT_EQ(screen->nodeForModel(label)->getZOrder(), 3);
    EXPECT_EQ(screen->nodeForModel(image)->getZOrder(), 7);
    EXPECT_EQ(screen->nodeForModel(bar)->getParent(), screen->controlsNode());

    // One menu per button: tagged, at the origin, its priority the negated depth, its
    // swallowing the model's "Block Touch".
    for (const auto& entry : {std::make_pair(high, false), std::make_pair(low, true)}) {
        CCMenu* menu = menuOf(screen, entry.first);
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->getTag(), KXPScreen::kButtonMenuTag);
        EXPECT_EQ(menu->getZOrder(), entry.first->zDepth());
        EXPECT_EQ(menu->getTouchPriority(), -entry.first->zDepth());
        EXPECT_EQ(menu->isSwallowingTouches(), entry.second);
        EXPECT_TRUE(menu->getPosition().equals(CCPointZero));
    }
    // Higher objects update first; the loading bar poses itself.
    std::vector<int> depths;
    for (CCNode* node : screen->updateList()) {
        depths.push_back(node->getZOrder());
        EXPECT_NE(node, screen->nodeForModel(bar));
    }
    EXPECT_TRUE(std::is_sorted(depths.rbegin(), depths.rend()));
    EXPECT_EQ(depths.size(), 4u);

    screen->removeButton(high);
    EXPECT_EQ(screen->nodeForModel(high), nullptr);
    EXPECT_EQ(screen->buttonsWithAction("").size(), 1u);
}

TEST_F(ScreenBase, ButtonsAtTheEndsOfTheDepthRangeTakeTheNegatedDepthAsTheirPriority) {
    auto model = graph.ui("extremes");
    auto top = button(*model, "Top", CCPoint(200, 200), INT_MAX);
    auto bottom = button(*model, "Bottom", CCPoint(400, 200), INT_MIN);
    RecordingScreen* screen = run("extremes");
    ASSERT_NE(menuOf(screen, top), nullptr);
    ASSERT_NE(menuOf(screen, bottom), nullptr);
    EXPECT_EQ(menuOf(screen, top)->getTouchPriority(), -INT_MAX);
    // Negating the lowest depth wraps round to itself, as in two's complement.
    EXPECT_EQ(menuOf(screen, bottom)->getTouchPriority(), INT_MIN);
    EXPECT_EQ(menuOf(screen, bottom)->getZOrder(), INT_MIN);
}

TEST_F(ScreenBase, AMissingScreenModelIsLoggedAndAMutedScreenHidden) {
    KXDebugLogCapture log;
    KXPScreen* missing = new KXPScreen();
    EXPECT_FALSE(missing->buildFromModel("nowhere", true));
    EXPECT_TRUE(log.contains("[KXPScreen] no screen model with the key nowhere"));
    static_cast<CCObject*>(missing)->release();

    graph.ui("quiet")->mutedAttribute()->setValue(true, true);
    EXPECT_FALSE(run("quiet")->isVisible());
}

TEST_F(ScreenBase, TheHigherButtonTakesTheTouchAndSwallowsItWhenItBlocks) {
    auto model = graph.ui("stack");
    button(*model, "Low", CCPoint(200, 200), 1);
    auto high = button(*model, "High", CCPoint(200, 200), 5);
    RecordingScreen* screen = run("stack");
    tap(200, 200);
    EXPECT_EQ(screen->actions, std::vector<std::string>({"High"}));

    // A button that does not block lets the touch through to the one below.
    high->blockTouchAttribute()->setValue(false, true);
    screen = run("stack");
    frames(1);
    tap(210, 190);
    EXPECT_EQ(screen->actions, std::vector<std::string>({"High", "Low"}));
    tap(400, 400); // beside both
    EXPECT_EQ(screen->actions.size(), 2u);
}

TEST_F(ScreenBase, WithoutAClosingAnimationAPressActsAtOnce) {
    auto model = graph.ui("quick");
    model->openAnimationFramesAttribute()->setValue(0, true);
    button(*model, "Go", CCPoint(200, 200), 1);
    RecordingScreen* screen = run("quick");
    frames(2);
    ASSERT_EQ(screen->animationState(), KXPScreen::kAnimationIdle);
    tap(200, 200);
    EXPECT_EQ(screen->actions, std::vector<std::string>({"Go"}));
    EXPECT_EQ(screen->animationState(), KXPScreen::kAnimationIdle);
}

TEST_F(ScreenBase, AClosingAnimationDefersTheActionAndIgnoresPressesMeanwhile) {
    auto model = graph.ui("slow");
    model->closeAnimationFramesAttribute()->setValue(6, true);
    auto go = button(*model, "Go", CCPoint(200, 200), 1);
    auto other = button(*model, "Other", CCPoint(600, 200), 1);
    RecordingScreen* screen = run("slow");
    tapOn(screen, go);
    EXPECT_EQ(screen->animationState(), KXPScreen::kAnimationClosing);
    EXPECT_TRUE(screen->actions.empty());
    tapOn(screen, go);
    tapOn(screen, other);
    // Presses while the animation plays, not only in the frame of the first.
    frames(4);
    tapOn(screen, other);
    tapOn(screen, go);
    frames(4);
    tapOn(screen, other);
    // Six frames of 1/30 s: 0.2 s, twelve frames of 1/60 s.
    frames(2);
    EXPECT_TRUE(screen->actions.empty());
    frames(3);
    EXPECT_EQ(screen->actions, std::vector<std::string>({"Go"}));
    frames(30);
    EXPECT_EQ(screen->actions.size(), 1u);
}

TEST_F(ScreenBase, TheOpeningLeadsToIdleWhichLoopsOnlyWhenAskedTo) {
    auto model = graph.ui("animated");
    model->openAnimationFramesAttribute()->setValue(3, true);
    model->idleAnimationFramesAttribute()->setValue(6, true);
    RecordingScreen* screen = run("animated");
    EXPECT_EQ(screen->animationState(), KXPScreen::kAnimationOpening);
    frames(7); // past 0.1 s
    EXPECT_EQ(screen->animationState(), KXPScreen::kAnimationIdle);
    frames(20);
    EXPECT_GT(screen->animationTimer(), 0.3f);

    model->idleAnimationLoopAttribute()->setValue(true, true);
    frames(1);
    // The idle animation starts again each 0.2 s.
    EXPECT_LT(screen->animationTimer(), 0.05f);
    frames(6);
    EXPECT_GT(screen->animationTimer(), 0.09f);
    frames(7);
    EXPECT_LT(screen->animationTimer(), 0.05f);
    EXPECT_EQ(screen->animationState(), KXPScreen::kAnimationIdle);
}

TEST_F(ScreenBase, RemovingAdsHidesTheRemoveAdsButtonsAlsoOnNestedScreens) {
    auto outer = graph.ui("outer");
    auto inner = graph.ui("inner");
    for (const auto& model : {outer, inner}) {
        auto removeAds = button(*model, model->key() + " no ads", CCPoint(100, 100), 1, true,
                                "KXModelObjectButtonPurchase");
        std::static_pointer_cast<KXModelObjectButtonPurchase>(removeAds)->typeAttribute()->setValue(
            "kPurchaseRemoveAds", true);
        auto coins = button(*model, model->key() + " coins", CCPoint(300, 100), 1, true,
                            "KXModelObjectButtonPurchase");
        std::static_pointer_cast<KXModelObjectButtonPurchase>(coins)->typeAttribute()->setValue(
            "kPurchasePowerup", true);
    }
    RecordingScreen* screen = run("outer");
    auto* nested = new RecordingScreen();
    nested->autorelease();
    ASSERT_TRUE(nested->buildFromModel("inner", true));
    ASSERT_TRUE(nested->init());
    screen->controlsNode()->addChild(nested);

    KXDebugLogCapture log;
    screen->adsRemoved();
    EXPECT_TRUE(log.contains("[outer] hide ads"));
    EXPECT_TRUE(log.contains("[inner] hide ads"));
    for (KXPScreen* each : {static_cast<KXPScreen*>(screen), static_cast<KXPScreen*>(nested)}) {
        const std::string key = each->model()->key();
        for (KXPObjectButton* purchase : each->allButtons()) {
            const bool removesAds = purchase->getModel()->name() == key + " no ads";
            EXPECT_EQ(purchase->isVisible(), !removesAds) << purchase->getModel()->name();
        }
    }
}

// An overlay hides its screen's controls and takes the keys (the innermost screen gets them);
// closing it gives both back, with the screen's ads, one level at a time.
TEST_F(ScreenBase, AnOverlayCoversItsScreenUntilItCloses) {
    for (const char* key : {"menu", "popup", "confirm"}) {
        auto model = graph.ui(key);
        model->adBannerAttribute()->setValue("kNoAds", true);
        button(*model, std::string(key) + " button", CCPoint(200, 200), 1);
    }
    // Closing stops the music.
    recordSound();
    RecordingScreen* screen = run("menu");
    EXPECT_EQ(KXPScreen::topScreen(), screen);
    const auto overlay = [](const char* key) {
        auto* made = new RecordingScreen();
        made->autorelease();
        EXPECT_TRUE(made->buildFromModel(key, true));
        EXPECT_TRUE(made->init());
        return made;
    };
    RecordingScreen* popup = overlay("popup");
    RecordingScreen* confirm = overlay("confirm");
    // Kept to look at once they are off the stage.
    popup->retain();
    confirm->retain();

    screen->showOverlay(popup);
    popup->showOverlay(confirm);
    frames(1);
    EXPECT_FALSE(screen->controlsNode()->isVisible());
    EXPECT_FALSE(popup->controlsNode()->isVisible());
    EXPECT_TRUE(confirm->controlsNode()->isVisible());
    EXPECT_EQ(KXPScreen::runningScreen(), screen);
    EXPECT_EQ(KXPScreen::topScreen(), confirm);

    KXDebugLogCapture log;
    confirm->closeOverlay();
    EXPECT_EQ(confirm->getParent(), nullptr);
    EXPECT_TRUE(log.contains("[confirm] hide ads"));
    EXPECT_TRUE(log.contains("[popup] banner: kNoAds interstitial: "));
    EXPECT_TRUE(popup->controlsNode()->isVisible());
    EXPECT_FALSE(screen->controlsNode()->isVisible());
    EXPECT_EQ(KXPScreen::topScreen(), popup);

    popup->closeOverlay();
    EXPECT_EQ(popup->getParent(), nullptr);
    EXPECT_TRUE(screen->controlsNode()->isVisible());
    EXPECT_TRUE(log.contains("[menu] banner: kNoAds interstitial: "));
    EXPECT_EQ(KXPScreen::topScreen(), screen);
    static_cast<CCObject*>(confirm)->release();
    static_cast<CCObject*>(popup)->release();
}

// Over a game, closing the overlay lets a held game run again and shows its controls.
TEST_F(ScreenBase, AnOverlayOverAGameResumesItWhenItCloses) {
    recordSound();
    graph.ui("hud");
    graph.ui("popup");
    graph.scene("forest");
    graph.link("forest", "UI", "hud");
    screens()->resetToScene("forest");
    director()->runWithScene(screens()->currentScene());
    frames(1);
    auto* field = dynamic_cast<KXPScreenScene*>(KXPScreen::runningScreen());
    ASSERT_NE(field, nullptr);
    auto* popup = new RecordingScreen();
    popup->autorelease();
    ASSERT_TRUE(popup->buildFromModel("popup", true));
    ASSERT_TRUE(popup->init());
    popup->retain();
    field->setPaused(true);
    field->showOverlay(popup);
    frames(1);
    EXPECT_FALSE(field->controlsNode()->isVisible());
    EXPECT_EQ(popup->parentScene(), field);

    popup->closeOverlay();
    EXPECT_FALSE(field->isPaused());
    EXPECT_TRUE(field->controlsNode()->isVisible());
    EXPECT_EQ(popup->getParent(), nullptr);
    static_cast<CCObject*>(popup)->release();
}

// Handing over to the next screen hides this one's objects at once, and its ads when the next
// screen shows no banner.
TEST_F(ScreenBase, ReplacingTheRunningSceneHidesTheObjectsAndTheAdsTheNextScreenLacks) {
    for (const char* key : {"menu", "quiet", "loud"}) {
        auto model = graph.ui(key);
        button(*model, std::string(key) + " button", CCPoint(200, 200), 1);
        // Only the loud screen shows a banner, each time it opens.
        const bool loud = std::string(key) == "loud";
        model->adBannerAttribute()->setValue(loud ? "kAdMob" : "kNoAds", true);
        model->adBannerFrequencyAttribute()->setValue(0.0f, true);
    }
    const auto sceneOf = [](const char* key) {
        auto* next = new RecordingScreen();
        next->autorelease();
        EXPECT_TRUE(next->buildFromModel(key, true));
        EXPECT_TRUE(next->init());
        CCScene* scene = CCScene::create();
        scene->addChild(next, 0, 0);
        return scene;
    };
    struct Case {
        const char* next;
        bool hidesAds;
    };
    for (const Case& c : {Case{"quiet", true}, Case{"loud", false}}) {
        SCOPED_TRACE(c.next);
        RecordingScreen* screen = run("menu");
        KXDebugLogCapture log;
        screen->replaceRunningScene(nullptr);
        EXPECT_TRUE(log.lines().empty());
        CCScene* scene = sceneOf(c.next);
        screen->replaceRunningScene(scene);
        EXPECT_EQ(log.contains("[menu] hide ads"), c.hidesAds);
        for (KXPObjectButton* each : screen->allButtons()) {
            EXPECT_FALSE(each->getParent()->isVisible());
        }
        frames(1);
        EXPECT_EQ(director()->getRunningScene(), scene);
    }
}

// A HUD plays its game's music, or else the main menu's; a screen outside a game plays none.
TEST_F(ScreenBase, AHudPlaysItsGamesMusicOrElseTheMainMenus) {
    audio::RecordingAudioBackend* recorder = recordSound();
    const auto track = [] {
        return std::static_pointer_cast<KXModelSound>(kxtest::ScreenGraph::make("KXModelSound"));
    };
    const auto played = [recorder] {
        std::vector<std::string> music;
        for (const std::string& call : recorder->calls()) {
            if (call.rfind("playMusic ", 0) == 0) {
                music.push_back(call);
            }
        }
        return music;
    };
    graph.ui("hud");
    auto forest = graph.scene("forest");
    graph.link("forest", "UI", "hud");
    auto mainMenu = graph.ui(KXPScreensController::kMainMenuKey);
    const auto menuTrack = track();
    mainMenu->setMusic(menuTrack);
    mainMenu->loopMusicAttribute()->setValue(false, true);
    screens()->resetToScene("forest");
    director()->runWithScene(screens()->currentScene());
    frames(1);
    KXPScreen* hud = screens()->currentUi();
    ASSERT_NE(hud, nullptr);

    recorder->clearCalls();
    hud->playScreenMusic();
    EXPECT_EQ(played(), std::vector<std::string>({"playMusic " + menuTrack->soundPath() + " loop=0"}));

    const auto forestTrack = track();
    forest->setMusic(forestTrack);
    recorder->clearCalls();
    hud->playScreenMusic();
    EXPECT_EQ(played(), std::vector<std::string>({"playMusic " + forestTrack->soundPath() + " loop=1"}));

    RecordingScreen* alone = run("hud");
    recorder->clearCalls();
    alone->playScreenMusic();
    EXPECT_TRUE(played().empty());
}

TEST_F(ScreenBase, CoinPowerupsCreditTheGlobalRecordAndTheRunningWorld) {
    auto coin =
        std::static_pointer_cast<KXModelAssetPowerup>(kxtest::ScreenGraph::make("KXModelAssetPowerup"));
    coin->powerupTypeAttribute()->setValue("kPowerupCoin", true);
    coin->rewardCoinsAttribute()->setValue(5.0f, true);
    coin->rewardPointsAttribute()->setValue(2.0f, true);
    graph.ui("menu");
    RecordingScreen* screen = run("menu");
    screen->usePowerup(coin, true);
    EXPECT_EQ(worldScores("").coins.session, 5);
    EXPECT_EQ(worldScores("").coins.total, 5);
    EXPECT_EQ(worldScores("").coins.best, 5);
    EXPECT_EQ(worldScores("").points.total, 2);

    // With a game scene current, its world is credited too.
    graph.ui("hud");
    graph.scene("forest");
    graph.link("forest", "UI", "hud");
    KXPScreensController::shared()->resetToScene("forest");
    ASSERT_NE(KXPScreensController::shared()->currentScene(), nullptr);
    screen->usePowerup(coin, true);
    EXPECT_EQ(worldScores("").coins.total, 10);
    EXPECT_EQ(worldScores("forest").coins.session, 5);
    EXPECT_EQ(worldScores("forest").coins.total, 5);
    EXPECT_EQ(worldScores("forest").coins.best, 5);

    // Other powerups do nothing on a screen.
    coin->powerupTypeAttribute()->setValue("kPowerupMagnet", true);
    screen->usePowerup(coin, true);
    EXPECT_EQ(worldScores("").coins.total, 10);
}

TEST_F(ScreenBase, APowerupButtonUsesTheInventoryOnlyWhileAGameRuns) {
    auto coin =
        std::static_pointer_cast<KXModelAssetPowerup>(kxtest::ScreenGraph::make("KXModelAssetPowerup"));
    coin->powerupTypeAttribute()->setValue("kPowerupCoin", true);
    coin->rewardCoinsAttribute()->setValue(5.0f, true);
    auto hud = graph.ui("hud");
    graph.scene("forest");
    graph.link("forest", "UI", "hud");
    auto action = std::static_pointer_cast<KXModelObjectButtonPowerup>(
        button(*hud, "Use", CCPoint(200, 200), 1, true, "KXModelObjectButtonPowerup"));
    action->actionAttribute()->setValue(std::to_string(coin->id()), true);
    KXPSettingsController* settings = KXPSettingsController::shared();
    settings->setInventoryCount(coin, 2);

    // On a UI screen alone nothing is used.
    RecordingScreen* menu = run("hud");
    KXPObjectButton* use = menu->buttonWithAction(std::to_string(coin->id()));
    ASSERT_NE(use, nullptr);
    // Kept beyond its scene, which the game scene replaces.
    menu->retain();
    menu->usePowerupButton(use);
    EXPECT_EQ(settings->inventoryCount(coin), 2);

    KXPScreensController::shared()->resetToScene("forest");
    director()->runWithScene(KXPScreensController::shared()->currentScene());
    frames(1);
    ASSERT_NE(dynamic_cast<KXPGameField*>(KXPScreen::runningScreen()), nullptr);
    for (int press = 0; press < 3; ++press) {
        menu->usePowerupButton(use);
    }
    EXPECT_EQ(settings->inventoryCount(coin), 0);
    EXPECT_EQ(worldScores("").coins.total, 10);

    action->unlimitedUseAttribute()->setValue(true, true);
    menu->usePowerupButton(use);
    EXPECT_EQ(worldScores("").coins.total, 15);
    EXPECT_EQ(settings->inventoryCount(coin), 0);
    static_cast<CCObject*>(menu)->release();
}

// What the use does to the stock (a rebuild refills it) comes after the use's own share is taken.
TEST_F(ScreenBase, APowerupButtonTakesFromTheStockBeforeTheUseRefillsIt) {
    auto shield =
        std::static_pointer_cast<KXModelAssetPowerup>(kxtest::ScreenGraph::make("KXModelAssetPowerup"));
    auto hud = graph.ui("hud");
    graph.scene("forest");
    graph.link("forest", "UI", "hud");
    auto action = std::static_pointer_cast<KXModelObjectButtonPowerup>(
        button(*hud, "Use", CCPoint(200, 200), 1, true, "KXModelObjectButtonPowerup"));
    action->actionAttribute()->setValue(std::to_string(shield->id()), true);
    KXPSettingsController* settings = KXPSettingsController::shared();
    settings->setInventoryCount(shield, 2);
    KXPScreensController::shared()->resetToScene("forest");
    auto* field = new RefillingField();
    ASSERT_TRUE(field->init());
    field->autorelease();
    CCScene* scene = CCScene::create();
    scene->addChild(field, 0, 0);
    director()->runWithScene(scene);
    frames(1);
    ASSERT_EQ(KXPScreen::runningScreen(), field);
    KXPScreen* ui = field->getUiLayer();
    ASSERT_NE(ui, nullptr);
    KXPObjectButton* use = ui->buttonWithAction(std::to_string(shield->id()));
    ASSERT_NE(use, nullptr);
    ui->usePowerupButton(use);
    EXPECT_EQ(settings->inventoryCount(shield), 5);
}

// An object's update may take a later object off the screen, which lets go of it at once: that
// one is not updated in the walk, and goes only after it.
TEST_F(ScreenBase, AnUpdateThatTakesALaterObjectOffTheScreenLeavesThatOneOut) {
    graph.ui("menu");
    auto firstModel = kxtest::ScreenGraph::make("KXModelObjectImage", "first");
    auto secondModel = kxtest::ScreenGraph::make("KXModelObjectImage", "second");
    auto* screen = new AdoptingScreen();
    screen->autorelease();
    ASSERT_TRUE(screen->buildFromModel("menu", false));
    bool firstGone = false;
    bool secondGone = false;
    auto* first = new CallingNode(&firstGone);
    auto* second = new CallingNode(&secondGone);
    screen->adopt(std::static_pointer_cast<KXModelObject>(firstModel), first);
    screen->adopt(std::static_pointer_cast<KXModelObject>(secondModel), second);
    screen->retain();
    // The screen's map and controls hold them now, nothing else.
    CCPoolManager::sharedPoolManager()->pop();
    first->onUpdate = [screen, secondModel] {
        screen->removeButton(std::static_pointer_cast<KXModelObject>(secondModel));
    };
    screen->update(0.25f);
    EXPECT_EQ(first->updates, 1);
    EXPECT_TRUE(secondGone);
    EXPECT_FALSE(firstGone);
    screen->release();
}

// An object's update that takes its running screen down (another screen in its place, another
// scene on its way) leaves the screen's later objects still: they would act for a screen that is
// gone (an observer navigating once more, from the screen that took its place).
TEST_F(ScreenBase, AnUpdateThatTakesTheScreenDownLeavesItsLaterObjectsStill) {
    graph.ui("menu");
    auto firstModel =
        std::static_pointer_cast<KXModelObject>(kxtest::ScreenGraph::make("KXModelObjectImage"));
    auto secondModel =
        std::static_pointer_cast<KXModelObject>(kxtest::ScreenGraph::make("KXModelObjectImage"));
    for (const bool replaceScene : {false, true}) {
        auto* screen = new AdoptingScreen();
        screen->autorelease();
        ASSERT_TRUE(screen->buildFromModel("menu", false));
        bool firstGone = false;
        bool secondGone = false;
        auto* first = new CallingNode(&firstGone);
        auto* second = new CallingNode(&secondGone);
        screen->adopt(firstModel, first);
        screen->adopt(secondModel, second);
        CCScene* scene = CCScene::create();
        scene->addChild(screen);
        director()->runWithScene(scene);
        frames(1);
        ASSERT_TRUE(screen->isRunning());
        first->onUpdate = [screen, replaceScene] {
            if (replaceScene) {
                director()->replaceScene(CCScene::create());
            } else {
                screen->removeFromParent();
            }
        };
        const int updates = second->updates;
        // Only the objects are held here: off the stage the screen goes as its update ends.
        first->retain();
        second->retain();
        screen->update(0.25f);
        EXPECT_EQ(first->updates, 1);
        EXPECT_EQ(second->updates, updates) << replaceScene;
        frames(1);
        first->release();
        second->release();
    }
}

TEST_F(ScreenBase, APowerupButtonUsesThePowerupItsCountShows) {
    auto coin =
        std::static_pointer_cast<KXModelAssetPowerup>(kxtest::ScreenGraph::make("KXModelAssetPowerup"));
    coin->powerupTypeAttribute()->setValue("kPowerupCoin", true);
    coin->rewardCoinsAttribute()->setValue(5.0f, true);
    auto hud = graph.ui("hud");
    graph.scene("forest");
    graph.link("forest", "UI", "hud");
    // The selection as the editor may leave it: the id and a blank after it.
    const std::string selection = std::to_string(coin->id()) + " ";
    auto action = std::static_pointer_cast<KXModelObjectButtonPowerup>(
        button(*hud, "Use", CCPoint(200, 200), 1, true, "KXModelObjectButtonPowerup"));
    action->actionAttribute()->setValue(selection, true);
    KXPSettingsController* settings = KXPSettingsController::shared();
    settings->setInventoryCount(coin, 2);
    KXPScreensController::shared()->resetToScene("forest");
    director()->runWithScene(KXPScreensController::shared()->currentScene());
    frames(1);
    auto* field = dynamic_cast<KXPGameField*>(KXPScreen::runningScreen());
    ASSERT_NE(field, nullptr);
    KXPScreen* ui = KXPScreensController::shared()->currentUi();
    ASSERT_NE(ui, nullptr);
    auto* use = dynamic_cast<KXPObjectButtonPowerup*>(ui->buttonWithAction(selection));
    ASSERT_NE(use, nullptr);
    EXPECT_EQ(use->powerupAsset(), coin);
    ui->usePowerupButton(use);
    EXPECT_EQ(settings->inventoryCount(coin), 1);
    EXPECT_EQ(worldScores("").coins.total, 5);

    // With a threshold of 50 the button waits for half of the world's best distance.
    action->visibilityThresholdAttribute()->setValue(50.0f, true);
    KXPScoreDistance& distance = currentWorldScores().distance;
    distance.best = 1000.0f;
    distance.session = 499.0f;
    use->update(0.0f);
    EXPECT_FALSE(use->isVisible());
    distance.session = 500.0f;
    use->update(0.0f);
    EXPECT_TRUE(use->isVisible());
}

} // namespace
