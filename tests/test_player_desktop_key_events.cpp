// The OIS listener and the input controller's keypad and controller side, on synthetic events:
// the default action keys, the first binding winning, keys without a pair, held keys repeated by
// X11, bound buttons before actions, releases that undo their own press, the keypad codes that
// keys and controller buttons make inside and outside a game field, Escape as one back, the
// controller's renumbered buttons, hat and sticks with the dead zone.
#include <gtest/gtest.h>

#include <OIS.h>

#include "cocos2d.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/classes/KXModelGeneralSettings.h"
#include "model/classes/KXModelObjectButton.h"
#include "player/app/KXPScreensController.h"
#include "player/desktop/EventHandler.h"
#include "player/input/KXPInputController.h"
#include "player/objects/buttons/KXPObjectButton.h"
#include "player/screens/KXPScreen.h"
#include "player/store/KXPScoreTable.h"
#include "player/store/KXPSettingsController.h"
#include "support/field_test_support.h"
#include "support/model_test_models.h"
#include "support/scene_test_support.h"
#include "support/screen_graph.h"
#include "support/temp_folder.h"

#include <string>
#include <vector>

using namespace cocos2d;

namespace {

class RecordingScreen : public KXPScreen {
public:
    std::vector<std::string> actions;
    int backs = 0;
    void performButtonAction(const std::shared_ptr<KXModelObjectButton>& model) override {
        actions.push_back(model->name());
    }
    void keyBackClicked() override { ++backs; }
};

// Hears every press and release of one action.
class ActionListener : public CCObject {
public:
    ActionListener(int action, std::vector<int>* heard) : m_action(action), m_heard(heard) {}
    void heard(CCObject*) { m_heard->push_back(m_action); }

private:
    int m_action;
    std::vector<int>* m_heard;
};

class KeypadRecorder : public CCKeypadDelegate {
public:
    std::vector<std::string> events;
    void keyBackClicked() override { events.push_back("back"); }
    void keyMenuClicked() override { events.push_back("menu"); }
    void onKeyDown(int key) override { events.push_back("down " + std::to_string(key)); }
    void onKeyUp(int key) override { events.push_back("up " + std::to_string(key)); }
};

class AxisCharacter : public kxtest::FakeCharacter {
public:
    static AxisCharacter* create() {
        AxisCharacter* character = new AxisCharacter();
        character->init();
        character->autorelease();
        return character;
    }
    void setAxisX(float value) override { axes.push_back("x " + std::to_string(value)); }
    void setAxisY(float value) override { axes.push_back("y " + std::to_string(value)); }
    std::vector<std::string> axes;
};

OIS::KeyEvent key(OIS::KeyCode code) {
    return OIS::KeyEvent(nullptr, code, 0);
}

class DesktopKeyEvents : public kxtest::SceneTest {
protected:
    kxtest::ScreenGraph graph;
    TempFolder folder;
    EventHandler::FieldState field;
    EventHandler handler{[this] { return field; }};
    KXPInputController* input = nullptr;
    std::vector<int> heard;
    std::vector<ActionListener*> listeners;
    KeypadRecorder keypad;
    RecordingScreen* screen = nullptr;

    void SetUp() override {
        SceneTest::SetUp();
        resetModelCore();
        clearScores();
        KXPScreensController::shared()->reset();
        CCUserDefault::setXMLFilePath(folder.file("UserDefault.xml"));
        // A fresh controller: game objects updated by an earlier suite made the shared one.
        KXPInputController::purgeShared();
        input = KXPInputController::shared();
        for (int action = 1; action <= 10; ++action) {
            listeners.push_back(new ActionListener(action, &heard));
            input->subscribe(action, listeners.back(), callfuncO_selector(ActionListener::heard), 0);
        }
        director()->getKeypadDispatcher()->addDelegate(&keypad);
    }
    void TearDown() override {
        director()->getKeypadDispatcher()->removeDelegate(&keypad);
        KXPInputController::purgeShared();
        for (ActionListener* listener : listeners) {
            listener->release();
        }
        SceneTest::TearDown();
        KXPScreensController::shared()->reset();
        KXPSettingsController::purgeShared();
        CCUserDefault::setXMLFilePath("");
        clearScores();
        resetModelCore();
    }

    void running() { field = EventHandler::FieldState{true, true}; }
    void paused() { field = EventHandler::FieldState{true, false}; }
    void noField() { field = EventHandler::FieldState{false, false}; }

    void tap(OIS::KeyCode code) {
        handler.keyPressed(key(code));
        handler.keyReleased(key(code));
    }

    // A running screen with buttons; `bound` has that keyboard key.
    std::shared_ptr<KXModelObjectButton> runScreen(int boundKey) {
        auto model = graph.ui("menu");
        auto bound =
            graph.object<KXModelObjectButton>(*model, "KXModelObjectButton", "Bound", CCPoint(100, 100), 1);
        bound->intervalAttribute()->setValue(0.0f, true);
        bound->keyboardKeyAttribute()->setValue(boundKey, true);
        auto other =
            graph.object<KXModelObjectButton>(*model, "KXModelObjectButton", "Other", CCPoint(100, 200), 2);
        other->intervalAttribute()->setValue(0.0f, true);
        screen = new RecordingScreen();
        screen->autorelease();
        EXPECT_TRUE(screen->buildFromModel("menu", true));
        EXPECT_TRUE(screen->init());
        CCScene* scene = CCScene::create();
        scene->addChild(screen, 0, 0);
        director()->runWithScene(scene);
        frames(1);
        return bound;
    }
    CCMenuItem* item(const std::shared_ptr<KXModelObjectButton>& button) const {
        return dynamic_cast<CCMenuItem*>(screen->nodeForModel(button));
    }
};

TEST_F(DesktopKeyEvents, TheDefaultKeysPressAndReleaseTheirActions) {
    running();
    const struct {
        OIS::KeyCode key;
        int action;
    } rows[] = {
        {OIS::KC_UP, 1}, {OIS::KC_DOWN, 2},  {OIS::KC_LEFT, 4},   {OIS::KC_RIGHT, 3}, {OIS::KC_X, 9},
        {OIS::KC_Z, 10}, {OIS::KC_COMMA, 6}, {OIS::KC_PERIOD, 7}, {OIS::KC_SPACE, 8}, {OIS::KC_J, 5},
    };
    for (const auto& row : rows) {
        heard.clear();
        handler.keyPressed(key(row.key));
        EXPECT_EQ(heard, std::vector<int>{row.action}) << "key " << row.key;
        handler.keyReleased(key(row.key));
        EXPECT_EQ(heard, (std::vector<int>{row.action, row.action})) << "key " << row.key;
        EXPECT_TRUE(input->heldActions().empty());
    }
    EXPECT_TRUE(keypad.events.empty());
}

TEST_F(DesktopKeyEvents, TheFirstMatchingBindingWins) {
    running();
    // Jump on the up arrow: "Move Up Key" is tested first.
    KXModelGeneralSettings::shared()->jumpKeyAttribute()->setValue(0x01000013, true);
    handler.keyPressed(key(OIS::KC_UP));
    EXPECT_EQ(heard, std::vector<int>{1});
    EXPECT_EQ(input->heldActions(), std::vector<int>{1});
    // J is no longer bound to anything.
    handler.keyPressed(key(OIS::KC_J));
    EXPECT_EQ(heard, std::vector<int>{1});
}

TEST_F(DesktopKeyEvents, AKeyWithoutAPairPressesNothing) {
    running();
    auto bound = runScreen(0);
    // Even a button registered under 0 and an action key of 0 are not reached.
    KXPInputController::registerButton(0, static_cast<KXPObjectButton*>(item(bound)));
    auto* shoot = dynamic_cast<KXAttributeInt*>(KXModelGeneralSettings::shared()->attribute("Shoot Key"));
    ASSERT_NE(shoot, nullptr);
    shoot->setValue(0, true);
    for (OIS::KeyCode unpaired : {OIS::KC_BACK, OIS::KC_RETURN, OIS::KC_NUMPAD5, OIS::KC_RCONTROL}) {
        tap(unpaired);
    }
    KXPInputController::unregisterButton(0, static_cast<KXPObjectButton*>(item(bound)));
    frames(1);
    EXPECT_TRUE(heard.empty());
    EXPECT_FALSE(item(bound)->isSelected());
    EXPECT_TRUE(screen->actions.empty());
    EXPECT_TRUE(keypad.events.empty());
}

TEST_F(DesktopKeyEvents, AHeldKeyRepeatedByTheServerIsOnePress) {
    running();
    for (int repeat = 0; repeat < 5; ++repeat) {
        handler.keyPressed(key(OIS::KC_RIGHT));
    }
    EXPECT_EQ(input->heldActions(), std::vector<int>{3});
    handler.keyReleased(key(OIS::KC_RIGHT));
    handler.keyReleased(key(OIS::KC_RIGHT)); // a second release has no press left to undo
    EXPECT_EQ(heard, (std::vector<int>{3, 3}));
    tap(OIS::KC_RIGHT);
    EXPECT_EQ(heard, (std::vector<int>{3, 3, 3, 3}));
}

TEST_F(DesktopKeyEvents, AButtonBoundToTheKeyOnTheTopScreenWinsOverTheAction) {
    running();
    auto bound = runScreen('J');
    handler.keyPressed(key(OIS::KC_J));
    EXPECT_TRUE(item(bound)->isSelected());
    handler.keyReleased(key(OIS::KC_J));
    frames(1);
    EXPECT_EQ(screen->actions, std::vector<std::string>{"Bound"});
    EXPECT_TRUE(heard.empty());

    // Hidden, the button still answers to its key (a key-only button need not show).
    item(bound)->setVisible(false);
    tap(OIS::KC_J);
    frames(1);
    EXPECT_EQ(screen->actions, (std::vector<std::string>{"Bound", "Bound"}));
    EXPECT_TRUE(heard.empty());
}

TEST_F(DesktopKeyEvents, AReleaseUndoesWhatItsPressDid) {
    auto bound = runScreen('J');
    // An action pressed in the running game is released after a pause came in between.
    running();
    handler.keyPressed(key(OIS::KC_UP));
    paused();
    handler.keyReleased(key(OIS::KC_UP));
    EXPECT_EQ(heard, (std::vector<int>{1, 1}));
    EXPECT_TRUE(input->heldActions().empty());
    EXPECT_TRUE(keypad.events.empty());

    // A bound key released over a button that its press never pressed activates nothing.
    KXModelGeneralSettings::shared()->jumpKeyAttribute()->setValue('K', true);
    item(bound)->setEnabled(false);
    handler.keyPressed(key(OIS::KC_J)); // the button bound to J cannot be pressed, J is no action key
    item(bound)->setEnabled(true);
    handler.keyReleased(key(OIS::KC_J));
    frames(1);
    EXPECT_TRUE(screen->actions.empty());

    // A keypad code sent while paused gets its key-up after the game went on.
    handler.keyPressed(key(OIS::KC_DOWN));
    running();
    handler.keyReleased(key(OIS::KC_DOWN));
    EXPECT_EQ(keypad.events, (std::vector<std::string>{"down 20", "up 20"}));
    EXPECT_EQ(heard.size(), 2u);
}

TEST_F(DesktopKeyEvents, ArrowsAndReturnAreKeypadCodesOutsideARunningGame) {
    noField();
    for (OIS::KeyCode code :
         {OIS::KC_UP, OIS::KC_DOWN, OIS::KC_LEFT, OIS::KC_RIGHT, OIS::KC_RETURN, OIS::KC_NUMPADENTER}) {
        tap(code);
    }
    EXPECT_EQ(keypad.events,
              (std::vector<std::string>{"down 19", "up 19", "down 20", "up 20", "down 21", "up 21", "down 22",
                                        "up 22", "down 23", "up 23", "down 23", "up 23"}));
    EXPECT_TRUE(heard.empty());

    keypad.events.clear();
    paused();
    tap(OIS::KC_LEFT);
    EXPECT_EQ(keypad.events, (std::vector<std::string>{"down 21", "up 21"}));
    EXPECT_TRUE(heard.empty());

    keypad.events.clear();
    running();
    tap(OIS::KC_LEFT);
    tap(OIS::KC_RETURN);
    EXPECT_TRUE(keypad.events.empty());
    EXPECT_EQ(heard, (std::vector<int>{4, 4}));
}

TEST_F(DesktopKeyEvents, EscapeIsOneBackEverywhere) {
    runScreen('J');
    for (bool inGame : {false, true}) {
        field = EventHandler::FieldState{inGame, inGame};
        keypad.events.clear();
        screen->backs = 0;
        tap(OIS::KC_ESCAPE);
        EXPECT_EQ(keypad.events, (std::vector<std::string>{"down 4", "up 4"})) << "in game " << inGame;
        // The input controller turns the key-up into the screen's one back.
        EXPECT_EQ(screen->backs, 1) << "in game " << inGame;
    }
    EXPECT_TRUE(heard.empty());
}

TEST_F(DesktopKeyEvents, KeypadNavigationMovesAndPressesTheHighlightOfTheTopScreen) {
    noField();
    auto bound = runScreen('J');
    tap(OIS::KC_UP); // lights the first button and steps up to "Other"
    EXPECT_FALSE(item(bound)->isSelected());
    tap(OIS::KC_DOWN);
    EXPECT_TRUE(item(bound)->isSelected());
    tap(OIS::KC_RETURN);
    frames(1);
    EXPECT_EQ(screen->actions, std::vector<std::string>{"Bound"});

    // Disabled, the controller's keypad side does nothing.
    input->setEnabled(false);
    tap(OIS::KC_UP);
    tap(OIS::KC_ESCAPE);
    EXPECT_TRUE(item(bound)->isSelected());
    EXPECT_EQ(screen->backs, 0);
}

TEST_F(DesktopKeyEvents, ControllerButtonsAreKeypadCodesOutsideAGameField) {
    OIS::JoyStickState state;
    const OIS::JoyStickEvent event(nullptr, state);
    noField();
    for (int button : {0, 1, 2, 11}) {
        handler.buttonPressed(event, button);
        handler.buttonReleased(event, button);
    }
    state.mPOV[0].direction = OIS::Pov::North;
    handler.povMoved(event, 0);
    state.mPOV[0].direction = OIS::Pov::Centered;
    handler.povMoved(event, 0);
    EXPECT_EQ(keypad.events,
              (std::vector<std::string>{"down 96", "up 96", "down 97", "up 97", "down 19", "up 19"}));
    EXPECT_TRUE(heard.empty());

    // In a game field (paused or not) they are game input: the hat is the D-pad, 0 jumps.
    keypad.events.clear();
    paused();
    handler.buttonPressed(event, 0);
    state.mPOV[0].direction = OIS::Pov::SouthWest;
    handler.povMoved(event, 0);
    EXPECT_EQ(heard, (std::vector<int>{5, 2, 4}));
    state.mPOV[0].direction = OIS::Pov::West;
    handler.povMoved(event, 0);
    handler.buttonReleased(event, 0);
    EXPECT_EQ(heard, (std::vector<int>{5, 2, 4, 2, 5}));
    EXPECT_EQ(input->heldActions(), std::vector<int>{4});
    // A real button numbered like the D-pad is moved past it.
    handler.buttonPressed(event, 12);
    EXPECT_EQ(heard.size(), 5u);
    EXPECT_TRUE(keypad.events.empty());
}

TEST_F(DesktopKeyEvents, SticksReachTheCharactersOnlyInAGameFieldWithTheAxesSwapped) {
    AxisCharacter* runner = AxisCharacter::create();
    input->addCharacter(runner);
    OIS::JoyStickState state;
    state.mAxes.resize(3);
    const OIS::JoyStickEvent event(nullptr, state);
    state.mAxes[0].abs = 16384; // Linux x
    state.mAxes[1].abs = 16384; // Linux y, down positive
    noField();
    handler.axisMoved(event, 0);
    EXPECT_TRUE(runner->axes.empty());

    running();
    handler.axisMoved(event, 0);
    handler.axisMoved(event, 1);
    handler.axisMoved(event, 2); // a trigger: no character axis
    handler.axisMoved(event, 7); // beyond the device's axes
    EXPECT_EQ(runner->axes, (std::vector<std::string>{"x 0.500000", "y -0.500000"}));
}

TEST(InputControllerGamepad, TheDeadZoneIsAQuarterOfTheRange) {
    const struct {
        int raw;
        float value;
    } rows[] = {{0, 0.0f},
                {8191, 0.0f},
                {-8191, 0.0f},
                {8192, 0.25f},
                {-8192, -0.25f},
                {16384, 0.5f},
                {32767, 32767.0f / 32768.0f},
                {-32768, -1.0f}};
    for (const auto& row : rows) {
        EXPECT_FLOAT_EQ(KXPInputController::gamepadAxisValue(row.raw), row.value) << "raw " << row.raw;
    }
}

} // namespace
