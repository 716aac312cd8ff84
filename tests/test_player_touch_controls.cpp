// The on-screen joystick and the swipe area through the real touch dispatcher: hit boxes, the
// offset and absolute styles, the drag's rotation, a lost touch stopping the characters, one
// swipe per touch within half a second, swipes from the very edge of the window, and the
// controls' place in the dispatcher (order among equals, leaving with the stage, built screens).

#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelObjectAccelerometer.h"
#include "model/classes/KXModelObjectManipulator.h"
#include "model/classes/KXModelObjectSwipeControl.h"
#include "player/input/KXPInputController.h"
#include "player/objects/KXObjectModelHolder.h"
#include "player/objects/buttons/KXPObjectButtonJoystick.h"
#include "player/objects/controls/KXPObjectAccelerometer.h"
#include "player/objects/controls/KXPObjectSwipeControl.h"
#include "player/screens/KXPScreen.h"
#include "support/field_test_support.h"
#include "support/model_class_helpers.h"
#include "support/model_test_models.h"
#include "support/scene_test_support.h"
#include "support/screen_graph.h"
#include "support/state_guards.h"

#include "cocos2d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace cocos2d;
using kxtest::FakeCharacter;

namespace {

constexpr float kTolerance = 1e-4f;

bool near(const CCPoint& a, const CCPoint& b) {
    return std::fabs(a.x - b.x) < kTolerance && std::fabs(a.y - b.y) < kTolerance;
}

// Claims every touch below the controls (a higher priority number is asked later).
class TouchBelow : public CCTouchDelegate {
public:
    bool ccTouchBegan(CCTouch*, CCEvent*) override {
        ++began;
        return true;
    }
    int began = 0;
};

// Records the swipe events it hears, with their senders.
class SwipeListener : public CCObject {
public:
    void left(CCObject* sender) { heard(KXPInputController::kActionSwipeLeft, sender); }
    void right(CCObject* sender) { heard(KXPInputController::kActionSwipeRight, sender); }
    void up(CCObject* sender) { heard(KXPInputController::kActionSwipeUp, sender); }
    void down(CCObject* sender) { heard(KXPInputController::kActionSwipeDown, sender); }

    std::vector<int> events;
    std::vector<CCObject*> senders;

private:
    void heard(int event, CCObject* sender) {
        events.push_back(event);
        senders.push_back(sender);
    }
};

class TouchControls : public kxtest::SceneTest {
protected:
    KXPInputController* input = nullptr;
    CCScene* scene = nullptr;
    TouchBelow below;

    void SetUp() override {
        SceneTest::SetUp();
        resetModelCore();
        input = KXPInputController::shared();
        scene = CCScene::create();
        director()->runWithScene(scene);
        frames(1);
    }
    void TearDown() override {
        KXPInputController::purgeShared();
        SceneTest::TearDown();
        resetModelCore();
    }

    static CCTouchDispatcher* dispatcher() { return director()->getTouchDispatcher(); }

    FakeCharacter* character() {
        FakeCharacter* added = FakeCharacter::create();
        input->addCharacter(added);
        return added;
    }

    static std::shared_ptr<KXModelObjectManipulator> joystickModel(const CCPoint& position,
                                                                   const CCPoint& scale, float sensitivity,
                                                                   const std::string& style = "") {
        auto model = make<KXModelObjectManipulator>();
        model->positionAttribute()->setValue(position, true);
        model->scaleAttribute()->setValue(scale, true);
        model->sensitivityAttribute()->setValue(sensitivity, true);
        model->controlStyleAttribute()->setValue(style, true);
        return model;
    }
    KXPObjectButtonJoystick* joystick(const std::shared_ptr<KXModelObjectManipulator>& model) {
        KXPObjectButtonJoystick* made = KXPObjectButtonJoystick::create(model);
        scene->addChild(made);
        return made;
    }

    // A swipe area over the whole 1000 x 500 view.
    KXPObjectSwipeControl* swipeArea(std::shared_ptr<KXModelObjectSwipeControl>* modelOut = nullptr) {
        auto model = make<KXModelObjectSwipeControl>();
        model->positionAttribute()->setValue(CCPoint(500.0f, 250.0f), true);
        model->scaleAttribute()->setValue(CCPoint(10.0f, 5.0f), true);
        if (modelOut != nullptr) {
            *modelOut = model;
        }
        KXPObjectSwipeControl* made = KXPObjectSwipeControl::create(model);
        scene->addChild(made);
        return made;
    }
    void listen(SwipeListener& listener) {
        input->subscribe(KXPInputController::kActionSwipeLeft, &listener,
                         callfuncO_selector(SwipeListener::left), 0);
        input->subscribe(KXPInputController::kActionSwipeRight, &listener,
                         callfuncO_selector(SwipeListener::right), 0);
        input->subscribe(KXPInputController::kActionSwipeUp, &listener, callfuncO_selector(SwipeListener::up),
                         0);
        input->subscribe(KXPInputController::kActionSwipeDown, &listener,
                         callfuncO_selector(SwipeListener::down), 0);
    }

    // The mouse at a point of the design area (y up), as the window reports it.
    void touch(void (CCEGLViewProtocol::*phase)(int, const int[], const float[], const float[]), float x,
               float y) {
        const CCPoint pixel = director()->convertToUI(CCPoint(x, y));
        int id = 0;
        float px = pixel.x;
        float py = pixel.y;
        (view.*phase)(1, &id, &px, &py);
    }
    void down(float x, float y) { touch(&CCEGLViewProtocol::handleTouchesBegin, x, y); }
    void drag(float x, float y) { touch(&CCEGLViewProtocol::handleTouchesMove, x, y); }
    void up(float x, float y) { touch(&CCEGLViewProtocol::handleTouchesEnd, x, y); }
    void lose(float x, float y) { touch(&CCEGLViewProtocol::handleTouchesCancel, x, y); }
};

TEST_F(TouchControls, JoystickTakesTouchesWithinItsScaledBoxAndLetsOthersThrough) {
    dispatcher()->addTargetedDelegate(&below, 1, true);
    KXPObjectButtonJoystick* stick = joystick(joystickModel(CCPoint(200, 200), CCPoint(1, 1), 1.0f));
    EXPECT_TRUE(stick->getPosition().equals(CCPoint(200, 200)));

    for (const CCPoint& inside :
         {CCPoint(249, 200), CCPoint(151, 200), CCPoint(200, 249), CCPoint(200, 151)}) {
        down(inside.x, inside.y);
        EXPECT_TRUE(stick->isDragging()) << inside.x << "," << inside.y;
        up(inside.x, inside.y);
    }
    EXPECT_EQ(below.began, 0);
    for (const CCPoint& outside :
         {CCPoint(251, 200), CCPoint(149, 200), CCPoint(200, 251), CCPoint(200, 149)}) {
        down(outside.x, outside.y);
        EXPECT_FALSE(stick->isDragging()) << outside.x << "," << outside.y;
        up(outside.x, outside.y);
    }
    EXPECT_EQ(below.began, 4);

    // The box follows the scale on each axis, mirrored or not.
    KXPObjectButtonJoystick* wide = joystick(joystickModel(CCPoint(600, 200), CCPoint(-3, 0.5f), 1.0f));
    down(745, 200);
    EXPECT_TRUE(wide->isDragging());
    up(745, 200);
    down(600, 230);
    EXPECT_FALSE(wide->isDragging());
    up(600, 230);
    dispatcher()->removeDelegate(&below);
}

TEST_F(TouchControls, OffsetStyleSteersByTheDistanceFromWhereTheTouchBegan) {
    FakeCharacter* runner = character();
    // Any style but the absolute one, the empty text included, is the offset style.
    for (const std::string style : {"", "kControlStyleRelative"}) {
        runner->directions.clear();
        KXPObjectButtonJoystick* stick =
            joystick(joystickModel(CCPoint(200, 200), CCPoint(2, 2), 2.0f, style));
        EXPECT_FALSE(stick->isAbsolute());
        down(190, 190);
        drag(220, 170);
        // Held still, the finger sends nothing new; the direction stays.
        frames(3);
        drag(230, 190);
        up(230, 190);
        EXPECT_EQ(runner->directions.size(), 3u) << style;
        EXPECT_TRUE(near(runner->directions[0], CCPoint(0.6f, -0.4f))) << style;
        EXPECT_TRUE(near(runner->directions[1], CCPoint(0.8f, 0.0f))) << style;
        EXPECT_TRUE(runner->direction().equals(CCPointZero)) << style;
        EXPECT_TRUE(runner->moves.empty());
        scene->removeChild(stick);
    }
}

TEST_F(TouchControls, AbsoluteStyleMovesByEachMovementAndStopsWithADirection) {
    FakeCharacter* runner = character();
    runner->directions.clear();
    KXPObjectButtonJoystick* stick = joystick(
        joystickModel(CCPoint(200, 200), CCPoint(2, 2), 2.0f, KXPObjectManipulator::kControlStyleAbsolute));
    EXPECT_TRUE(stick->isAbsolute());
    down(200, 200);
    drag(210, 200);
    drag(215, 205);
    up(215, 205);
    ASSERT_EQ(runner->moves.size(), 2u);
    EXPECT_TRUE(near(runner->moves[0], CCPoint(2.0f, 0.0f)));
    EXPECT_TRUE(near(runner->moves[1], CCPoint(1.0f, 1.0f)));
    // The lifted finger stops the characters in both styles.
    EXPECT_EQ(runner->directions, std::vector<CCPoint>{CCPointZero});
}

TEST_F(TouchControls, TheModelsRotationTurnsTheDrag) {
    FakeCharacter* runner = character();
    auto model = joystickModel(CCPoint(200, 200), CCPoint(2, 2), 100.0f);
    model->rotationAttribute()->setValue(90.0f, true);
    joystick(model);
    down(200, 200);
    drag(230, 200);
    // Right becomes up.
    EXPECT_TRUE(near(runner->direction(), CCPoint(0.0f, 30.0f)));
    drag(200, 230);
    // Up becomes left.
    EXPECT_TRUE(near(runner->direction(), CCPoint(-30.0f, 0.0f)));
    up(200, 230);
}

TEST_F(TouchControls, ALostTouchStopsTheCharactersAndEndsTheSwipe) {
    FakeCharacter* runner = character();
    KXPObjectButtonJoystick* stick = joystick(joystickModel(CCPoint(200, 200), CCPoint(2, 2), 1.0f));
    down(200, 200);
    drag(250, 200);
    EXPECT_FALSE(runner->direction().equals(CCPointZero));
    lose(250, 200);
    EXPECT_TRUE(runner->direction().equals(CCPointZero));
    EXPECT_FALSE(stick->isDragging());
    scene->removeChild(stick);

    KXPObjectSwipeControl* swipe = swipeArea();
    down(100, 100);
    EXPECT_TRUE(swipe->isSwipeUnderWay());
    lose(110, 100);
    EXPECT_FALSE(swipe->isSwipeUnderWay());
}

TEST_F(TouchControls, ControlsLeaveTheDispatcherWithTheStageAndComeBackWithIt) {
    FakeCharacter* runner = character();
    KXPObjectSwipeControl* swipe = swipeArea();
    KXPObjectButtonJoystick* stick = joystick(joystickModel(CCPoint(200, 200), CCPoint(2, 2), 1.0f));
    CCObject* held[] = {stick, swipe};
    for (CCObject* object : held) {
        object->retain();
    }
    frames(1);
    down(200, 200);
    drag(260, 200);
    scene->removeChild(stick);
    scene->removeChild(swipe);
    // Leaving in the middle of a drag stops the characters.
    EXPECT_TRUE(runner->direction().equals(CCPointZero));
    EXPECT_FALSE(dispatcher()->isRegistered(stick));
    EXPECT_FALSE(dispatcher()->isRegistered(swipe));
    // Nothing but this test holds them any more: they go with their last reference.
    EXPECT_EQ(stick->retainCount(), 1u);
    EXPECT_EQ(swipe->retainCount(), 1u);
    up(260, 200);

    scene->addChild(stick);
    scene->addChild(swipe);
    EXPECT_TRUE(dispatcher()->isRegistered(stick));
    EXPECT_TRUE(dispatcher()->isRegistered(swipe));
    for (CCObject* object : held) {
        object->release();
    }
}

TEST_F(TouchControls, AmongEqualPrioritiesTheLaterMadeControlIsAskedFirst) {
    auto first = KXPObjectButtonJoystick::create(joystickModel(CCPoint(200, 200), CCPoint(2, 2), 1.0f));
    auto second = KXPObjectButtonJoystick::create(joystickModel(CCPoint(200, 200), CCPoint(2, 2), 1.0f));
    // The order in which they reach the stage does not change the order they were made in.
    scene->addChild(second);
    scene->addChild(first);
    down(200, 200);
    EXPECT_TRUE(second->isDragging());
    EXPECT_FALSE(first->isDragging());
    up(200, 200);
}

TEST_F(TouchControls, ASwipeIsTheFirstAxisPastThirtyPoints) {
    SwipeListener listener;
    listen(listener);
    std::shared_ptr<KXModelObjectSwipeControl> model;
    KXPObjectSwipeControl* swipe = swipeArea(&model);
    EXPECT_TRUE(swipe->getPosition().equals(CCPoint(500, 250)));

    // (40, 40) view points, right and down: the horizontal test comes first.
    down(300, 300);
    drag(340, 260);
    // One swipe per touch.
    drag(400, 200);
    up(400, 200);
    EXPECT_EQ(listener.events, std::vector<int>{KXPInputController::kActionSwipeRight});
    ASSERT_EQ(listener.senders.size(), 1u);
    EXPECT_EQ(listener.senders[0], swipe);
    EXPECT_EQ(KXObjectModelHolder::modelOf(listener.senders[0]), model);

    listener.events.clear();
    const struct {
        CCPoint to;
        int event;
    } strokes[] = {
        {CCPoint(269, 300), KXPInputController::kActionSwipeLeft},
        {CCPoint(300, 331), KXPInputController::kActionSwipeUp},
        {CCPoint(300, 269), KXPInputController::kActionSwipeDown},
    };
    for (const auto& stroke : strokes) {
        down(300, 300);
        // Thirty points exactly is not yet a swipe.
        drag(300 + (stroke.to.x - 300) * 30 / 31, 300 + (stroke.to.y - 300) * 30 / 31);
        drag(stroke.to.x, stroke.to.y);
        up(stroke.to.x, stroke.to.y);
    }
    EXPECT_EQ(listener.events,
              (std::vector<int>{KXPInputController::kActionSwipeLeft, KXPInputController::kActionSwipeUp,
                                KXPInputController::kActionSwipeDown}));
    input->unsubscribe(&listener);
}

TEST_F(TouchControls, ASwipeMustCoverItsDistanceWithinHalfASecond) {
    double now = 100.0;
    kxtest::ScopedClock clock([&now] { return now; });
    SwipeListener listener;
    listen(listener);
    swipeArea();

    down(300, 300);
    now += 0.25;
    drag(310, 300);
    now += 0.25;
    drag(350, 300);
    // Too late for this touch, however far it goes now.
    now += 0.125;
    drag(400, 300);
    up(400, 300);
    EXPECT_TRUE(listener.events.empty());

    // A new touch starts a new swipe.
    down(300, 300);
    now += 0.4375;
    drag(340, 300);
    up(340, 300);
    EXPECT_EQ(listener.events, std::vector<int>{KXPInputController::kActionSwipeRight});
    input->unsubscribe(&listener);
}

TEST_F(TouchControls, SwipesFromTheWindowsLeftAndTopEdgesAreReported) {
    SwipeListener listener;
    listen(listener);
    swipeArea();
    // View x 0 (the left edge), then view y 0 (the top edge, design y 500).
    down(0, 250);
    drag(40, 250);
    up(40, 250);
    down(500, 500);
    drag(500, 460);
    up(500, 460);
    EXPECT_EQ(listener.events, (std::vector<int>{KXPInputController::kActionSwipeRight,
                                                 KXPInputController::kActionSwipeDown}));
    input->unsubscribe(&listener);
}

TEST_F(TouchControls, SwipeTouchesOutsideTheAreaFallThrough) {
    dispatcher()->addTargetedDelegate(&below, 1, true);
    auto model = make<KXModelObjectSwipeControl>();
    model->positionAttribute()->setValue(CCPoint(200, 200), true);
    KXPObjectSwipeControl* swipe = KXPObjectSwipeControl::create(model);
    scene->addChild(swipe);
    down(249, 249);
    EXPECT_TRUE(swipe->isSwipeUnderWay());
    up(249, 249);
    down(251, 200);
    EXPECT_FALSE(swipe->isSwipeUnderWay());
    up(251, 200);
    EXPECT_EQ(below.began, 1);

    // Without a model the control takes nothing and carries no model.
    swipe->setModel(nullptr);
    EXPECT_EQ(swipe->getUserObject(), nullptr);
    EXPECT_TRUE(swipe->getPosition().equals(CCPointZero));
    down(0, 0);
    EXPECT_FALSE(swipe->isSwipeUnderWay());
    up(0, 0);
    dispatcher()->removeDelegate(&below);
}

TEST_F(TouchControls, AScreenMakesItsControlsAndLetsThemGoEvenIfNeverShown) {
    kxtest::ScreenGraph graph;
    auto screenModel = graph.ui("controls");
    auto stickModel = graph.object<KXModelObjectManipulator>(*screenModel, "KXModelObjectManipulator",
                                                             "Stick", CCPoint(150, 120), 4);
    auto tiltModel = graph.object<KXModelObjectAccelerometer>(*screenModel, "KXModelObjectAccelerometer",
                                                              "Tilt", CCPoint(0, 0), 0);
    auto swipeModel = graph.object<KXModelObjectSwipeControl>(*screenModel, "KXModelObjectSwipeControl",
                                                              "Swipe", CCPoint(300, 200), 2);
    KXPObjectAccelerometer::shared()->setModel(nullptr);

    const int before = dispatcher()->targetedDelegateCount();
    auto* screen = new KXPScreen();
    ASSERT_TRUE(screen->buildFromModel("controls", true));
    auto* stick = dynamic_cast<KXPObjectButtonJoystick*>(screen->nodeForModel(stickModel));
    auto* swipe = dynamic_cast<KXPObjectSwipeControl*>(screen->nodeForModel(swipeModel));
    ASSERT_NE(stick, nullptr);
    ASSERT_NE(swipe, nullptr);
    EXPECT_EQ(stick->getParent(), screen->controlsNode());
    EXPECT_EQ(stick->getZOrder(), 4);
    EXPECT_TRUE(stick->getPosition().equals(CCPoint(150, 120)));
    EXPECT_EQ(swipe->getZOrder(), 2);
    // The tilt control is shared and shows nothing.
    EXPECT_EQ(screen->nodeForModel(tiltModel), nullptr);
    EXPECT_EQ(KXPObjectAccelerometer::shared()->getModel(), tiltModel);
    EXPECT_EQ(dispatcher()->targetedDelegateCount(), before + 2);

    screen->release();
    EXPECT_EQ(dispatcher()->targetedDelegateCount(), before);
    KXPObjectAccelerometer::purgeShared();
}

} // namespace
