// Keyboard and controller navigation over a running screen's buttons: the step by direction with
// its main-axis, cross-axis and order ties and the cross window, the first press with nothing
// highlighted, hidden and disabled buttons left out, the confirm, the default button, and sound
// buttons whose muted look is not a highlight.
#include <gtest/gtest.h>

#include "cocos2d.h"
#include "model/classes/KXModelGeneralSettings.h"
#include "model/classes/KXModelObjectButton.h"
#include "player/app/KXPScreensController.h"
#include "player/objects/buttons/KXPObjectButton.h"
#include "player/screens/KXPButtonHighlight.h"
#include "player/screens/KXPScreen.h"
#include "player/store/KXPScoreTable.h"
#include "player/store/KXPSettingsController.h"
#include "support/model_test_models.h"
#include "support/scene_test_support.h"
#include "support/screen_graph.h"
#include "support/temp_folder.h"

#include <string>
#include <vector>

using namespace cocos2d;

namespace {

constexpr int kUp = KXPButtonHighlight::kUp;
constexpr int kDown = KXPButtonHighlight::kDown;
constexpr int kLeft = KXPButtonHighlight::kLeft;
constexpr int kRight = KXPButtonHighlight::kRight;

class RecordingScreen : public KXPScreen {
public:
    std::vector<std::string> actions;
    void performButtonAction(const std::shared_ptr<KXModelObjectButton>& model) override {
        actions.push_back(model->name());
    }
};

class ButtonHighlight : public kxtest::SceneTest {
protected:
    kxtest::ScreenGraph graph;
    TempFolder folder;
    std::shared_ptr<KXModelScreen> model;
    RecordingScreen* screen = nullptr;

    void SetUp() override {
        SceneTest::SetUp();
        resetModelCore();
        clearScores();
        KXPScreensController::shared()->reset();
        CCUserDefault::setXMLFilePath(folder.file("UserDefault.xml"));
        model = graph.ui("menu");
    }
    void TearDown() override {
        SceneTest::TearDown();
        KXPScreensController::shared()->reset();
        KXPSettingsController::purgeShared();
        CCUserDefault::setXMLFilePath("");
        clearScores();
        resetModelCore();
    }

    // Buttons made one after another get rising model ids: with equal depths, that is their order.
    std::shared_ptr<KXModelObjectButton> button(const std::string& name, float x, float y, int depth = 5,
                                                const std::string& action = "") {
        auto made =
            graph.object<KXModelObjectButton>(*model, "KXModelObjectButton", name, CCPoint(x, y), depth);
        made->intervalAttribute()->setValue(0.0f, true);
        made->actionAttribute()->setValue(action, true);
        return made;
    }

    void run() {
        screen = new RecordingScreen();
        screen->autorelease();
        ASSERT_TRUE(screen->buildFromModel("menu", true));
        ASSERT_TRUE(screen->init());
        screen->scheduleUpdate();
        CCScene* scene = CCScene::create();
        scene->addChild(screen, 0, 0);
        director()->runWithScene(scene);
        frames(1);
    }

    CCMenuItem* item(const std::shared_ptr<KXModelObjectButton>& button) const {
        return dynamic_cast<CCMenuItem*>(screen->nodeForModel(button));
    }
    // The names of the buttons that look selected, in the order given.
    std::string lit(std::initializer_list<std::shared_ptr<KXModelObjectButton>> buttons) const {
        std::string names;
        for (const auto& button : buttons) {
            if (item(button)->isSelected()) {
                names += (names.empty() ? "" : " ") + button->name();
            }
        }
        return names;
    }
};

TEST_F(ButtonHighlight, TheNearestAlongTheDirectionWinsThenTheNearestAcrossThenTheFirst) {
    // Met first but farther across: the one straight above wins.
    auto farAcross = button("far across", 150, 200);
    auto start = button("start", 100, 100);
    auto above = button("above", 100, 200);
    auto higher = button("higher", 100, 260);
    auto below = button("below", 120, 0);
    run();
    screen->hilightDefaultButton(); // all at depth 5: the last one made
    ASSERT_EQ(lit({farAcross, start, above, higher, below}), "below");
    screen->hilightButton(kUp);
    EXPECT_EQ(lit({farAcross, start, above, higher, below}), "start");
    screen->hilightButton(kUp);
    EXPECT_EQ(lit({farAcross, start, above, higher, below}), "above");
    screen->hilightButton(kUp);
    EXPECT_EQ(lit({farAcross, start, above, higher, below}), "higher");
    // Nothing farther up: the highlight stays.
    screen->hilightButton(kUp);
    EXPECT_EQ(lit({farAcross, start, above, higher, below}), "higher");
}

TEST_F(ButtonHighlight, OnAnEqualCrossDistanceTheFirstInOrderWins) {
    auto start = button("start", 100, 100, 1);
    auto right = button("right", 150, 200, 7);
    auto left = button("left", 50, 200, 6); // lower depth: first in order
    run();
    screen->hilightButton(kDown); // highlights the first (start); nothing below it
    ASSERT_EQ(lit({start, right, left}), "start");
    screen->hilightButton(kUp);
    EXPECT_EQ(lit({start, right, left}), "left");
}

TEST_F(ButtonHighlight, AButtonMoreThanTheCrossWindowAwayIsNeverACandidate) {
    auto start = button("start", 100, 100, 1);
    auto edge = button("edge", 200, 300, 2);     // 100 across: inside the window
    auto beyond = button("beyond", 201, 150, 2); // nearer along, but 101 across
    run();
    // Nothing highlighted: the first button lights and the step is taken from it.
    screen->hilightButton(kUp);
    EXPECT_EQ(lit({start, edge, beyond}), "edge");
    screen->hilightButton(kDown);
    EXPECT_EQ(lit({start, edge, beyond}), "beyond");
    screen->hilightButton(kLeft);
    EXPECT_EQ(lit({start, edge, beyond}), "start");
}

TEST_F(ButtonHighlight, AButtonLevelWithTheHighlightIsNotReachedAlongThatAxis) {
    auto start = button("start", 100, 100, 1);
    auto level = button("level", 200, 100, 2);
    run();
    for (int direction : {kUp, kDown, kLeft}) {
        screen->hilightButton(direction);
        EXPECT_EQ(lit({start, level}), "start") << "direction " << direction;
    }
    screen->hilightButton(kRight);
    EXPECT_EQ(lit({start, level}), "level");
    // An unknown direction moves nothing.
    screen->hilightButton(16);
    EXPECT_EQ(lit({start, level}), "level");
}

TEST_F(ButtonHighlight, HiddenAndDisabledButtonsAreLeftOut) {
    auto hiddenFirst = button("hidden first", 100, 100, 1);
    auto start = button("start", 100, 200, 2);
    auto disabled = button("disabled", 100, 300, 3);
    auto underHiddenMenu = button("under hidden menu", 100, 400, 4);
    auto top = button("top", 100, 500, 5);
    run();
    item(hiddenFirst)->setVisible(false);
    item(disabled)->setEnabled(false);
    item(underHiddenMenu)->getParent()->setVisible(false);
    // The first button that takes part lights; the step up skips to the top one.
    screen->hilightButton(kUp);
    EXPECT_EQ(lit({hiddenFirst, start, disabled, underHiddenMenu, top}), "top");
    screen->hilightButton(kDown);
    EXPECT_EQ(lit({hiddenFirst, start, disabled, underHiddenMenu, top}), "start");
    screen->hilightButton(kDown);
    EXPECT_EQ(lit({hiddenFirst, start, disabled, underHiddenMenu, top}), "start");

    // The highlighted button hides: it goes dark, and the next step starts from the first again.
    item(start)->setVisible(false);
    screen->pressHilightButton();
    frames(1);
    EXPECT_TRUE(screen->actions.empty());
    screen->hilightButton(kDown);
    EXPECT_EQ(lit({hiddenFirst, start, disabled, underHiddenMenu, top}), "top");
    // Shown again, it does not come back lit.
    item(start)->setVisible(true);
    EXPECT_EQ(lit({hiddenFirst, start, disabled, underHiddenMenu, top}), "top");
}

TEST_F(ButtonHighlight, TheConfirmActivatesTheHighlightedButtonOnly) {
    auto play = button("Play", 100, 200, 1);
    auto shop = button("Shop", 100, 100, 2);
    run();
    screen->pressHilightButton();
    frames(1);
    EXPECT_TRUE(screen->actions.empty());
    screen->hilightButton(kDown);
    screen->pressHilightButton();
    frames(1);
    EXPECT_EQ(screen->actions, (std::vector<std::string>{"Shop"}));
}

TEST_F(ButtonHighlight, TheDefaultButtonHasTheGreatestDepthNotBelowZero) {
    auto three = button("three", 100, 100, 3);
    auto sevenA = button("seven a", 200, 100, 7);
    auto sevenB = button("seven b", 300, 100, 7);
    run();
    screen->hilightDefaultButton();
    EXPECT_EQ(lit({three, sevenA, sevenB}), "seven b");
    // One highlight per screen: a step goes on from it.
    screen->hilightButton(kLeft);
    EXPECT_EQ(lit({three, sevenA, sevenB}), "seven a");
}

TEST_F(ButtonHighlight, TheDefaultButtonLightsBesideAHighlightMadeBefore) {
    auto start = button("start", 100, 100, 1);
    auto top = button("top", 100, 300, 7);
    run();
    screen->hilightButton(kDown); // the first lights; nothing below it
    ASSERT_EQ(lit({start, top}), "start");
    screen->hilightDefaultButton();
    EXPECT_EQ(lit({start, top}), "start top");
    // The first lit button in order is the highlight that a confirm presses.
    screen->pressHilightButton();
    frames(1);
    EXPECT_EQ(screen->actions, (std::vector<std::string>{"start"}));
    // A lit button is no step's goal: up finds nothing and both stay lit.
    screen->hilightButton(kUp);
    EXPECT_EQ(lit({start, top}), "start top");
}

TEST_F(ButtonHighlight, NoDefaultButtonWhenEveryDepthIsNegative) {
    auto low = button("low", 100, 100, -2);
    auto lower = button("lower", 200, 100, -1);
    run();
    screen->hilightDefaultButton();
    EXPECT_EQ(lit({low, lower}), "");
}

TEST_F(ButtonHighlight, AMutedSoundButtonIsNoHighlightAndKeepsItsLook) {
    KXPSettingsController::shared()->muteBackground = true;
    auto music = button("Music", 100, 100, 1, "kMuteBackgroundMusic");
    auto play = button("Play", 100, 200, 5);
    run();
    ASSERT_EQ(lit({music, play}), "Music"); // the muted look
    // The confirm finds no highlight: the muted button is not pressed.
    screen->pressHilightButton();
    EXPECT_TRUE(KXPSettingsController::shared()->muteBackground);
    // The first button is the muted one; the step leaves it looking muted.
    screen->hilightButton(kUp);
    EXPECT_EQ(lit({music, play}), "Music Play");
    screen->pressHilightButton();
    frames(1);
    EXPECT_EQ(screen->actions, (std::vector<std::string>{"Play"}));
    EXPECT_TRUE(KXPSettingsController::shared()->muteBackground);
    // Back on it, the confirm switches the music on, and its look follows.
    screen->hilightButton(kDown);
    EXPECT_EQ(lit({music, play}), "Music");
    screen->pressHilightButton();
    EXPECT_FALSE(KXPSettingsController::shared()->muteBackground);
    EXPECT_EQ(lit({music, play}), "");
    // Leaving an unmuted sound button it lit itself, the highlight puts it out.
    screen->hilightButton(kUp);
    screen->hilightButton(kDown);
    screen->hilightButton(kUp);
    EXPECT_EQ(lit({music, play}), "Play");
}

} // namespace
