// The screens controller over screen graphs built in the store: the UI stack and its cursor, the
// game-scene state, the showScreens answers, the score bookkeeping of scene changes and the next
// level section.
#include <gtest/gtest.h>

#include "cocos2d.h"
#include "model/classes/KXModelLevelSection.h"
#include "player/app/KXPScreensController.h"
#include "player/base/KXPGameField.h"
#include "player/screens/KXPScreenUi.h"
#include "player/store/KXPScoreTable.h"
#include "support/model_test_models.h"
#include "support/screen_graph.h"

using namespace cocos2d;

namespace {

using Keys = std::vector<std::string>;

class ScreensController : public ::testing::Test {
protected:
    CCEGLViewProtocol view;
    kxtest::ScreenGraph graph;

    void SetUp() override {
        CCDirector::sharedDirector()->purgeDirector();
        view.setFrameSize(1136.0f, 640.0f);
        CCDirector::sharedDirector()->setOpenGLView(&view);
        resetModelCore();
        clearScores();
        controller()->reset();
        // start -> menu; menu -> options, more, shop (UI) and play (scene); scene -> hud (UI).
        graph.start();
        for (const char* key : {"menu", "options", "more", "shop", "hud", "pause"}) {
            graph.ui(key);
        }
        graph.scene("world");
        graph.scene("bare");
        graph.link("KXPScreenStart", "Load", "menu");
        graph.link("menu", "Options", "options");
        graph.link("menu", "Shop", "shop");
        graph.link("menu", "Play", "world");
        graph.link("menu", "Bare", "bare");
        graph.link("menu", "Restart", "KXPScreenStart");
        graph.link("options", "More", "more");
        graph.link("more", "Shop", "shop");
        graph.link("world", "UI", "hud");
        graph.link("world", "Pause", "pause");
        graph.link("hud", "Pause", "pause");
        // A port that leads nowhere.
        auto* dangling = new KXAttribute("Nowhere", graph.node("menu").get());
        dangling->setConnectionKind(KXAttributeConnectionOutput, true);
    }

    void TearDown() override {
        controller()->reset();
        CCDirector::sharedDirector()->purgeDirector();
        clearScores();
        resetModelCore();
    }

    static KXPScreensController* controller() { return KXPScreensController::shared(); }

    // Menu on top of an empty stack, as after loading.
    void atMenu() { ASSERT_TRUE(controller()->openUi("Load", false)); }
};

TEST_F(ScreensController, StartsOnTheLoadingScreenWithoutAScene) {
    EXPECT_EQ(controller()->uiKeys(), Keys({"KXPScreenStart"}));
    EXPECT_EQ(controller()->currentUiKey(), "KXPScreenStart");
    EXPECT_EQ(controller()->currentSceneKey(), "");
    EXPECT_EQ(controller()->heldScene(), nullptr);
    EXPECT_EQ(controller()->currentScreenScene(), nullptr);
    EXPECT_EQ(controller()->currentLevelSectionId(), 0u);
}

TEST_F(ScreensController, TheUiStackFollowsPushesAndBacks) {
    struct Step {
        const char* what;
        std::function<bool()> action;
        bool answer;
        Keys keys;
        const char* current;
    };
    auto open = [](const char* port) { return [port] { return controller()->openUi(port, false); }; };
    auto back = [] { return controller()->popUi(); };
    const std::vector<Step> steps = {
        {"leaving the start screen drops its key", open("Load"), true, {"menu"}, "menu"},
        {"back from the first key", back, false, {"menu"}, "menu"},
        {"forward", open("Options"), true, {"menu", "options"}, "options"},
        {"forward again", open("More"), true, {"menu", "options", "more"}, "more"},
        {"back keeps the keys after the cursor", back, true, {"menu", "options", "more"}, "options"},
        {"back to the first key", back, true, {"menu", "options", "more"}, "menu"},
        {"a push drops the forward history", open("Shop"), true, {"menu", "shop"}, "shop"},
        {"a port the screen lacks", open("Nothing"), false, {"menu", "shop"}, "shop"},
        {"back", back, true, {"menu", "shop"}, "menu"},
        {"a port that leads nowhere", open("Nowhere"), false, {"menu", "shop"}, "menu"},
        {"a start node is no UI screen to open", open("Restart"), false, {"menu", "shop"}, "menu"},
        {"a scene node is no UI screen either", open("Play"), false, {"menu", "shop"}, "menu"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        EXPECT_EQ(step.action(), step.answer);
        EXPECT_EQ(controller()->uiKeys(), step.keys);
        EXPECT_EQ(controller()->currentUiKey(), step.current);
        EXPECT_EQ(controller()->currentSceneKey(), "");
    }
}

TEST_F(ScreensController, OpeningASceneTakesItsOwnUiScreen) {
    atMenu();
    EXPECT_FALSE(controller()->openScene("Options", true, 0)); // a UI node
    EXPECT_FALSE(controller()->openScene("Nowhere", true, 0));
    EXPECT_EQ(controller()->currentSceneKey(), "");

    ASSERT_TRUE(controller()->openScene("Play", true, KXPScreensController::kOpenModeResetScores));
    EXPECT_EQ(controller()->currentSceneKey(), "world");
    EXPECT_EQ(controller()->uiKeys(), Keys({"hud"}));
    EXPECT_EQ(controller()->openMode(), KXPScreensController::kOpenModeResetScores);
    EXPECT_FALSE(controller()->popUi());
    // The scene's ports: to a UI screen over the game.
    EXPECT_TRUE(controller()->openUi("Pause", true));
    EXPECT_EQ(controller()->uiKeys(), Keys({"hud", "pause"}));

    controller()->reset();
    atMenu();
    ASSERT_TRUE(controller()->openScene("Bare", true, 0));
    EXPECT_EQ(controller()->currentSceneKey(), "bare");
    EXPECT_TRUE(controller()->uiKeys().empty());
    EXPECT_EQ(controller()->currentUiKey(), "");
    EXPECT_FALSE(controller()->popUi());
    EXPECT_FALSE(controller()->resetUiStack());
}

TEST_F(ScreensController, ASceneTakesTheScreenOfWhateverNodeItsUiPortLeadsTo) {
    // The arena's interface is another scene node's screen.
    graph.scene("arena");
    graph.link("menu", "Arena", "arena");
    graph.link("arena", "UI", "world");
    const Keys shown = {"world"};
    atMenu();
    ASSERT_TRUE(controller()->openScene("Arena", true, 0));
    EXPECT_EQ(controller()->uiKeys(), shown);
    EXPECT_EQ(controller()->showScreens("arena", "shop", 0), KXPScreensController::kNewScene);
    EXPECT_TRUE(controller()->resetUiStack());
    EXPECT_EQ(controller()->uiKeys(), shown);
    // No UI screen has that key: the game scene goes on without an interface.
    EXPECT_NE(controller()->currentScene(), nullptr);

    controller()->resetToScene("bare");
    controller()->resetToScene("arena");
    EXPECT_EQ(controller()->uiKeys(), shown);

    controller()->reset();
    atMenu();
    EXPECT_EQ(controller()->showScreens("arena", "", 0), KXPScreensController::kNewScene);
    EXPECT_EQ(controller()->uiKeys(), shown);
}

TEST_F(ScreensController, UiChangesKeepAGameSceneAndForgetAUiScene) {
    atMenu();
    CCScene* menu = controller()->currentScene();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(controller()->currentScene(), menu); // held, not built again
    ASSERT_NE(controller()->currentUi(), nullptr);
    EXPECT_EQ(controller()->currentUi()->model()->key(), "menu");
    EXPECT_TRUE(controller()->openUi("Shop", false));
    EXPECT_EQ(controller()->heldScene(), nullptr);

    ASSERT_TRUE(controller()->popUi());
    EXPECT_EQ(controller()->heldScene(), nullptr);
    ASSERT_TRUE(controller()->openScene("Play", true, 0));
    CCScene* game = controller()->currentScene();
    ASSERT_NE(game, nullptr);
    KXPGameField* field = controller()->currentScreenScene();
    ASSERT_NE(field, nullptr);
    ASSERT_NE(controller()->currentUi(), nullptr);
    EXPECT_EQ(controller()->currentUi(), field->getUiLayer());
    EXPECT_EQ(controller()->currentUi()->model()->key(), "hud");

    EXPECT_TRUE(controller()->openUi("Pause", false));
    EXPECT_EQ(controller()->heldScene(), game);
    EXPECT_TRUE(controller()->popUi());
    EXPECT_EQ(controller()->heldScene(), game);
    EXPECT_TRUE(controller()->resetUiStack());
    EXPECT_EQ(controller()->uiKeys(), Keys({"hud"}));
    EXPECT_EQ(controller()->heldScene(), game);
}

TEST_F(ScreensController, ShowScreensAnswersWhatTheCallerMustDo) {
    atMenu();
    struct Case {
        const char* what;
        const char* scene;
        const char* ui;
        bool buildFirst;
        int answer;
        const char* sceneKey;
        Keys keys;
    };
    const std::vector<Case> cases = {
        {"the keys already shown", "", "menu", false, 0, "", {"menu"}},
        {"nothing asked", "", "", false, 0, "", {"menu"}},
        {"a scene with its own UI screen", "world", "", false, 1, "world", {"hud"}},
        {"the same scene and its UI screen again", "world", "", true, 0, "world", {"hud"}},
        {"another UI screen over the held scene", "world", "pause", true, 2, "world", {"hud", "pause"}},
        {"the scene's UI screen again over the held scene",
         "world",
         "",
         true,
         2,
         "world",
         {"hud", "pause", "hud"}},
        {"a UI screen alone leaves the scene", "", "shop", false, 1, "", {"shop"}},
        {"a scene without a UI screen", "bare", "", false, 1, "bare", {}},
        {"a scene and a chosen UI screen", "world", "shop", false, 1, "world", {"shop"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.buildFirst) {
            ASSERT_NE(controller()->currentScene(), nullptr);
        }
        EXPECT_EQ(controller()->showScreens(c.scene, c.ui, 0), c.answer);
        EXPECT_EQ(controller()->currentSceneKey(), c.sceneKey);
        EXPECT_EQ(controller()->uiKeys(), c.keys);
        if (!c.keys.empty()) {
            EXPECT_EQ(controller()->currentUiKey(), c.keys.back());
        }
    }
}

TEST_F(ScreensController, SceneChangesRevertOrCommitTheSessionScores) {
    graph.link("world", "Next", "bare");
    atMenu();
    KXPScoreRecord& global = worldScores("");
    global.coins.session = 30;
    global.coins.commit();
    global.coins.session = 45;
    // Mode 0 goes back to the committed session.
    ASSERT_TRUE(controller()->openScene("Play", true, KXPScreensController::kOpenModeRevert));
    EXPECT_EQ(global.coins.session, 30);

    // Mode 1 keeps what was reached, in the world left and in the global record.
    KXPScoreRecord& world = worldScores("world");
    world.points.session = 12;
    global.coins.session = 50;
    ASSERT_TRUE(controller()->openScene("Next", false, KXPScreensController::kOpenModeCommit));
    EXPECT_EQ(controller()->currentSceneKey(), "bare");
    ASSERT_NE(world.points.backup(), nullptr);
    EXPECT_EQ(world.points.backup()->values[0], 12);
    EXPECT_EQ(global.coins.backup()->values[0], 50);

    // A new run of a scene starts without the last run's coins.
    KXPScoreRecord& bare = worldScores("bare");
    bare.coins.session = 9;
    bare.coins.commit();
    ASSERT_NE(controller()->currentScene(), nullptr);
    EXPECT_EQ(bare.coins.session, 0);
    EXPECT_EQ(bare.coins.backup()->values[0], 0);
    EXPECT_EQ(controller()->openMode(), KXPScreensController::kOpenModeRevert);
}

// Leaving a game by key settles the run as the game was opened: a run opened to keep its scores
// commits them, any other is abandoned and goes back to the last committed figures.
TEST_F(ScreensController, LeavingAGameByKeySettlesItsRunAsItWasOpened) {
    struct Case {
        const char* what;
        int openedWith;
        const char* scene;
        const char* ui;
    };
    const std::vector<Case> cases = {
        {"to a menu, abandoned", KXPScreensController::kOpenModeRevert, "", "shop"},
        {"to a menu, kept", KXPScreensController::kOpenModeCommit, "", "shop"},
        {"to another game, abandoned", KXPScreensController::kOpenModeRevert, "bare", ""},
        {"to another game, kept", KXPScreensController::kOpenModeCommit, "bare", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        clearScores();
        controller()->reset();
        atMenu();
        ASSERT_TRUE(controller()->openScene("Play", true, c.openedWith));
        KXPScoreRecord& global = worldScores("");
        KXPScoreRecord& world = worldScores("world");
        global.coins.session = 30;
        global.coins.commit();
        world.points.session = 4;
        world.points.commit();
        // Reached in the run left behind.
        global.coins.session = 45;
        world.points.session = 12;
        // The mode given here is for the next game, not the one left.
        ASSERT_EQ(controller()->showScreens(c.scene, c.ui, KXPScreensController::kOpenModeRevert),
                  KXPScreensController::kNewScene);
        const bool kept = c.openedWith == KXPScreensController::kOpenModeCommit;
        EXPECT_EQ(global.coins.session, kept ? 45 : 30);
        EXPECT_EQ(global.coins.backup()->values[0], kept ? 45 : 30);
        EXPECT_EQ(world.points.backup()->values[0], kept ? 12 : 4);
    }
}

TEST_F(ScreensController, ResumingALevelOrStartingOnAScreenLeavesOneState) {
    atMenu();
    ASSERT_NE(controller()->currentScene(), nullptr);
    controller()->resetToScene("world");
    EXPECT_EQ(controller()->currentSceneKey(), "world");
    EXPECT_EQ(controller()->uiKeys(), Keys({"hud"}));
    EXPECT_EQ(controller()->heldScene(), nullptr);
    controller()->resetToScene("bare");
    EXPECT_TRUE(controller()->uiKeys().empty());

    // Starting on a chosen UI screen leaves nothing to go back to.
    ASSERT_NE(controller()->currentScene(), nullptr);
    controller()->resetToUi("shop");
    EXPECT_EQ(controller()->currentSceneKey(), "");
    EXPECT_EQ(controller()->uiKeys(), Keys({"shop"}));
    EXPECT_EQ(controller()->heldScene(), nullptr);
    EXPECT_FALSE(controller()->popUi());
}

TEST_F(ScreensController, TheNextLevelSectionIsTheNextOfTheSameScene) {
    auto world = graph.scene("sections a");
    auto other = graph.scene("sections b");
    std::vector<std::shared_ptr<KXModel>> sections;
    // Store order: a1, b1, a2, b2, a3.
    for (const auto& owner : {world, other, world, other, std::shared_ptr<KXModelScreenScene>(world)}) {
        auto section = kxtest::ScreenGraph::make("KXModelLevelSection");
        owner->addChild(section, true);
        sections.push_back(section);
    }
    const auto id = [&](size_t index) { return sections[index]->id(); };
    EXPECT_EQ(KXPScreensController::nextLevelSectionId(id(0)), id(2));
    EXPECT_EQ(KXPScreensController::nextLevelSectionId(id(2)), id(4));
    EXPECT_EQ(KXPScreensController::nextLevelSectionId(id(1)), id(3));
    // The last one of a scene has none, although sections of that scene stand before it.
    EXPECT_EQ(KXPScreensController::nextLevelSectionId(id(4)), 0u);
    EXPECT_EQ(KXPScreensController::nextLevelSectionId(id(3)), 0u);
    EXPECT_EQ(KXPScreensController::nextLevelSectionId(0), 0u);
    EXPECT_EQ(KXPScreensController::nextLevelSectionId(999999), 0u);
}

} // namespace
