// Buttons built from the button models of the sample game: the "Interval" gate over repeated
// builds of a screen, the images and tints, press and release handlers against the menu target,
// the keyframed touch emulation, keyboard keys bound per screen, pose, autohide and opacity.

#include "model/KXDebugLog.h"
#include "model/attributes/KXAnimationCurve.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelObjectButton.h"
#include "model/classes/KXModelObjectButtonControl.h"
#include "model/classes/KXModelSound.h"
#include "model/classes/KXModelSpriteContainer.h"
#include "model/references/KXAttributeSound.h"
#include "model/references/KXAttributeSprite.h"
#include "player/input/KXPInputController.h"
#include "player/objects/KXObjectModelHolder.h"
#include "player/objects/buttons/KXPObjectButton.h"
#include "player/screens/KXPScreen.h"
#include "player/sound/KXSound.h"
#include "player/store/KXPSettingsController.h"
#include "support/sample_game_support.h"
#include "support/scene_test_support.h"

#include "audio/AudioBackendSlot.h"
#include "audio/RecordingAudioBackend.h"
#include "cocos2d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

using namespace cocos2d;

namespace {

// Records the calls buttons make on it.
class Receiver : public CCObject {
public:
    explicit Receiver(kxtest::EventLog& log) : m_log(log) {}
    void onPress(CCObject* /*sender*/) { m_log.add("press"); }
    void onRelease(CCObject* /*sender*/) { m_log.add("release"); }
    void onTarget(CCObject* sender) {
        m_log.add("target");
        lastSender = sender;
    }
    CCObject* lastSender = nullptr;

private:
    kxtest::EventLog& m_log;
};

// A screen with its controls node in place, as a built screen has it.
KXPScreen* makeScreen() {
    KXPScreen* screen = new KXPScreen();
    screen->autorelease();
    screen->addChild(screen->controlsNode(), KXPScreen::kControlsZOrder);
    return screen;
}

// Puts the button into a menu of its own under the screen's controls node.
void place(KXPScreen* screen, KXPObjectButton* button) {
    CCMenu* menu = CCMenu::create(true);
    menu->setTag(KXPScreen::kButtonMenuTag);
    menu->addChild(button);
    screen->controlsNode()->addChild(menu);
}

class ButtonObject : public kxtest::SceneTest {
protected:
    kxtest::SampleGame game;
    std::shared_ptr<KXModelObjectButton> model;
    Receiver* receiver = nullptr;

    void SetUp() override {
        kxtest::SceneTest::SetUp();
        std::string failure;
        if (!game.write(&failure)) {
            GTEST_SKIP() << failure;
        }
        ASSERT_TRUE(game.load(&failure)) << failure;
        // The sample's "Play" button comes back every third build (Interval 3).
        model = game.named<KXModelObjectButton>("Play");
        ASSERT_TRUE(model);
        model->resetPressCounter();
        receiver = new Receiver(log);
    }

    void TearDown() override {
        for (CCObject* object : held) {
            object->release();
        }
        held.clear();
        if (receiver != nullptr) {
            receiver->release();
        }
        KXPInputController::purgeShared();
        // Press sounds still playing: as the player's exit does.
        KXSound::stopGroup(KXSound::kEveryGroup, false);
        kxtest::SceneTest::TearDown();
    }

    // A button held by the test; the interval is lifted so that every build gives one.
    KXPObjectButton* make(const std::shared_ptr<KXModelObjectButton>& source) {
        source->intervalAttribute()->setValue(0.0f, true);
        KXPObjectButton* button = KXPObjectButton::create(source, nullptr);
        if (button != nullptr) {
            CCObject* object = button;
            object->retain();
            held.push_back(object);
        }
        return button;
    }
    KXPObjectButton* make() { return make(model); }

    std::shared_ptr<KXModelSpriteContainer> container(const std::string& name) {
        auto found = game.named<KXModelSpriteContainer>(name);
        EXPECT_TRUE(found) << name;
        return found;
    }

    std::vector<CCObject*> held;
};

TEST_F(ButtonObject, IntervalThreeShowsTheButtonOnTheSecondBuildThenEveryThird) {
    std::string pattern;
    for (int visit = 1; visit <= 10; ++visit) {
        KXPObjectButton* button = KXPObjectButton::create(model, nullptr);
        pattern += button != nullptr ? 'B' : '-';
    }
    EXPECT_EQ(pattern, "-B--B--B--");

    // Intervals that give no whole repeat count never gate the button.
    for (float interval : {0.0f, 0.5f, -2.0f, std::numeric_limits<float>::quiet_NaN()}) {
        model->intervalAttribute()->setValue(interval, true);
        model->resetPressCounter();
        for (int visit = 1; visit <= 4; ++visit) {
            EXPECT_NE(KXPObjectButton::create(model, nullptr), nullptr) << interval << " visit " << visit;
        }
    }
}

TEST_F(ButtonObject, PressingAButtonWithAnIntervalHidesItAndStillReachesItsTarget) {
    KXPObjectButton* button = make();
    model->intervalAttribute()->setValue(3.0f, true);
    button->setMenuTarget(receiver, menu_selector(Receiver::onTarget));
    button->activate();
    EXPECT_FALSE(button->isVisible());
    EXPECT_TRUE(model->isActionHeld());
    EXPECT_EQ(log.events, std::vector<std::string>{"target"});
    EXPECT_EQ(receiver->lastSender, button);

    // A disabled button ignores presses and its target, but is still used up by activate.
    KXPObjectButton* disabled = make();
    model->intervalAttribute()->setValue(2.0f, true);
    disabled->setActionHandler(receiver, menu_selector(Receiver::onPress),
                               menu_selector(Receiver::onRelease));
    disabled->setEnabled(false);
    log.clear();
    disabled->press();
    disabled->release();
    disabled->selected();
    disabled->unselected();
    EXPECT_FALSE(disabled->isSelected());
    disabled->setMenuTarget(receiver, menu_selector(Receiver::onTarget));
    disabled->activate();
    EXPECT_TRUE(log.events.empty());
    EXPECT_FALSE(disabled->isVisible());
}

TEST_F(ButtonObject, ActionHandlersAndTheMenuTargetExcludeEachOther) {
    KXPObjectButton* button = make();
    button->setActionHandler(receiver, menu_selector(Receiver::onPress), menu_selector(Receiver::onRelease));
    button->selected();
    EXPECT_TRUE(button->isSelected());
    button->unselected();
    button->activate(); // no menu selector any more
    EXPECT_EQ(log.events, (std::vector<std::string>{"press", "release"}));

    log.clear();
    button->setMenuTarget(receiver, menu_selector(Receiver::onTarget));
    button->selected();
    button->unselected();
    button->activate();
    EXPECT_EQ(log.events, std::vector<std::string>{"target"});

    // A key press is a selection, its release a deselection followed by activate.
    log.clear();
    button->press();
    EXPECT_TRUE(button->isSelected());
    button->release();
    EXPECT_FALSE(button->isSelected());
    EXPECT_EQ(log.events, std::vector<std::string>{"target"});
}

TEST_F(ButtonObject, TouchEmulationPressesWhileItsKeyframesAreHigh) {
    // Under key 1, "Touch Emulation" rises from 0 to 1 in the first second and falls back by the second.
    auto* curve = new KXAnimationCurve();
    curve->setMode(KXAnimationCurve::Linear);
    curve->appendPoint({0.0f, 0.0f, 0.0f, 0.0f});
    curve->appendPoint({1.0f, 1.0f, 1.0f, 1.0f});
    curve->appendPoint({0.0f, 2.0f, 0.0f, 0.0f});
    model->touchEmulationAttribute()->setAnimationCurves({curve}, 1);

    KXPObjectButton* handled = make();
    handled->setActionHandler(receiver, menu_selector(Receiver::onPress), menu_selector(Receiver::onRelease));
    KXPObjectButton* targeted = make();
    targeted->setMenuTarget(receiver, menu_selector(Receiver::onTarget));
    for (KXPObjectButton* button : {handled, targeted}) {
        button->setAnimationKey(1);
    }

    std::vector<std::string> selected;
    for (int frame = 1; frame <= 12; ++frame) {
        for (KXPObjectButton* button : {handled, targeted}) {
            button->update(0.25f);
        }
        selected.push_back(std::string(handled->isSelected() ? "S" : "-") +
                           (targeted->isSelected() ? "S" : "-"));
    }
    // On from 0.5 s to 1.5 s (frames 2 to 6); one press and one release each.
    EXPECT_EQ(selected, (std::vector<std::string>{"--", "SS", "SS", "SS", "SS", "SS", "--", "--", "--", "--",
                                                  "--", "--"}));
    EXPECT_EQ(log.events, (std::vector<std::string>{"press", "release", "target"}));
    EXPECT_FALSE(handled->isTouchEmulationPressed());

    // Under key 0 the value stays low: nothing happens.
    log.clear();
    handled->setAnimationKey(0);
    handled->resetAnimationTime();
    for (int frame = 0; frame < 8; ++frame) {
        handled->update(0.25f);
    }
    EXPECT_TRUE(log.events.empty());
}

TEST_F(ButtonObject, KeysPressOnlyTheButtonsOfTheNamedScreen) {
    auto other = game.named<KXModelObjectButtonControl>("Jump Button");
    ASSERT_TRUE(other);
    model->keyboardKeyAttribute()->setValue('K', true);
    other->keyboardKeyAttribute()->setValue('K', true);
    KXPScreen* front = makeScreen();
    KXPScreen* below = makeScreen();
    KXPObjectButton* frontButton = make();
    KXPObjectButton* belowButton = make(other);
    place(front, frontButton);
    place(below, belowButton);
    frontButton->setMenuTarget(receiver, menu_selector(Receiver::onTarget));
    belowButton->setActionHandler(receiver, menu_selector(Receiver::onPress),
                                  menu_selector(Receiver::onRelease));
    EXPECT_EQ(frontButton->parentScreen(), front);
    EXPECT_EQ(belowButton->parentScreen(), below);

    EXPECT_TRUE(KXPInputController::pressKeyButtons('K', front));
    EXPECT_TRUE(frontButton->isSelected());
    EXPECT_FALSE(belowButton->isSelected());
    EXPECT_TRUE(KXPInputController::releaseKeyButtons('K', front));
    EXPECT_EQ(log.events, std::vector<std::string>{"target"});
    EXPECT_FALSE(KXPInputController::pressKeyButtons('Q', front));
    EXPECT_FALSE(KXPInputController::pressKeyButtons('K', makeScreen()));

    // A button that is gone has left the registry.
    below->controlsNode()->removeAllChildren();
    for (auto it = held.begin(); it != held.end(); ++it) {
        if (*it == static_cast<CCObject*>(belowButton)) {
            (*it)->release();
            held.erase(it);
            break;
        }
    }
    EXPECT_FALSE(KXPInputController::pressKeyButtons('K', below));

    // A button without a chosen key (-1, or the default 0) binds none.
    model->keyboardKeyAttribute()->setValue(0, true);
    place(front, make());
    EXPECT_FALSE(KXPInputController::pressKeyButtons(0, front));
}

// Takes a screen down when a button fires: off the stage, or its scene replaced.
class ScreenTaker : public CCObject {
public:
    ScreenTaker(kxtest::EventLog& log, KXPScreen* screen, bool replaceScene)
        : m_log(log), m_screen(screen), m_replaceScene(replaceScene) {}
    void onTarget(CCObject*) {
        m_log.add("taken down");
        if (m_replaceScene) {
            CCDirector::sharedDirector()->replaceScene(CCScene::create());
        } else {
            m_screen->removeFromParent();
        }
    }

private:
    kxtest::EventLog& m_log;
    KXPScreen* m_screen;
    bool m_replaceScene;
};

// Two buttons of a running screen bound to one key: the first one's release takes the screen down
// (in the player the screen lives on to the end of the frame's pass), and the second one is left
// alone instead of acting on a screen that is gone.
TEST_F(ButtonObject, AKeyActsNoFurtherOnAScreenItsFirstButtonTookDown) {
    model->keyboardKeyAttribute()->setValue('K', true);
    for (const bool replaceScene : {false, true}) {
        log.clear();
        KXPScreen* screen = makeScreen();
        CCScene* scene = CCScene::create();
        scene->addChild(screen);
        director()->runWithScene(scene);
        frames(1);
        ASSERT_TRUE(screen->isRunning());
        CCObject* held = screen;
        held->retain();
        KXPObjectButton* first = make();
        KXPObjectButton* second = make();
        place(screen, first);
        place(screen, second);
        auto* taker = new ScreenTaker(log, screen, replaceScene);
        first->setMenuTarget(taker, menu_selector(ScreenTaker::onTarget));
        second->setMenuTarget(receiver, menu_selector(Receiver::onTarget));
        EXPECT_TRUE(KXPInputController::pressKeyButtons('K', screen));
        EXPECT_TRUE(KXPInputController::releaseKeyButtons('K', screen));
        EXPECT_EQ(log.events, std::vector<std::string>{"taken down"}) << replaceScene;
        frames(1);
        taker->release();
        held->release();
    }
}

TEST_F(ButtonObject, ImagesAreTheModelsPicturesTintedForPressedAndDisabled) {
    model->setImage(container("Runner Frames"));
    KXPObjectButton* button = make();
    auto* normal = dynamic_cast<CCSprite*>(button->getNormalImage());
    auto* selected = dynamic_cast<CCSprite*>(button->getSelectedImage());
    auto* disabled = dynamic_cast<CCSprite*>(button->getDisabledImage());
    ASSERT_TRUE(normal && selected && disabled);
    EXPECT_EQ(normal->getColor().r, 255);
    EXPECT_EQ(selected->getColor().g, KXPObjectButton::kSelectedTint);
    EXPECT_EQ(disabled->getColor().b, KXPObjectButton::kDisabledTint);
    EXPECT_NE(normal->getActionByTag(KXBaseModelSpriteContainer::kAnimationActionTag), nullptr);
    button->setEnabled(false);
    EXPECT_TRUE(disabled->isVisible());
    EXPECT_FALSE(normal->isVisible());

    // A pressed image of its own is shown untinted.
    model->imageSelectedAttribute()->setValue(container("Icons"), true);
    auto* own = dynamic_cast<CCSprite*>(make()->getSelectedImage());
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own->getColor().r, 255);

    // The user object leads back to the model.
    EXPECT_EQ(KXObjectModelHolder::modelOf(button), model);
}

TEST_F(ButtonObject, WithoutAPictureTheButtonIsATransparentTouchArea) {
    ASSERT_FALSE(model->spriteContainer());
    KXPObjectButton* bare = make();
    ASSERT_NE(bare->getNormalImage(), nullptr);
    EXPECT_EQ(bare->getSelectedImage(), nullptr);
    EXPECT_EQ(bare->getDisabledImage(), nullptr);
    EXPECT_TRUE(bare->getContentSize().equals(CCSize(100.0f, 100.0f)));
    EXPECT_EQ(static_cast<CCSprite*>(bare->getNormalImage())->getOpacity(), 255); // its colour is clear

    // An image whose frames are not in the cache gives the same, with a log line.
    model->setImage(container("Runner Frames"));
    CCSpriteFrameCache::purgeSharedSpriteFrameCache();
    KXDebugLogCapture capture;
    KXPObjectButton* broken = make();
    ASSERT_NE(broken, nullptr);
    EXPECT_TRUE(broken->getContentSize().equals(CCSize(100.0f, 100.0f)));
    EXPECT_EQ(capture.lines().size(), 1u);
}

TEST_F(ButtonObject, PoseAutohideAndOpacityFollowTheModel) {
    model->setImage(container("Runner Frames"));
    model->stickToEdgeAttribute()->setValue(false, true);
    model->positionAttribute()->setValue(CCPoint(200.0f, 120.0f), true);
    model->rotationAttribute()->setValue(15.0f, true);
    model->autohideAttribute()->setValue(2.0f, true);
    KXPObjectButton* button = make();
    EXPECT_TRUE(button->getPosition().equals(CCPoint(200.0f, 120.0f)));
    EXPECT_FLOAT_EQ(button->getRotation(), 15.0f);

    model->opacityAttribute()->setValue(0.5f, true);
    button->update(1.5f);
    auto* normal = static_cast<CCSprite*>(button->getNormalImage());
    EXPECT_EQ(normal->getOpacity(), 127);
    EXPECT_EQ(normal->numberOfRunningActions(), 1u); // its frame animation
    EXPECT_FALSE(button->isFadedOut());

    button->update(0.5f);
    EXPECT_TRUE(button->isFadedOut());
    EXPECT_EQ(normal->numberOfRunningActions(), 2u); // and now the fade
    model->opacityAttribute()->setValue(1.0f, true);
    normal->setOpacity(90);
    button->update(1.0f);
    EXPECT_EQ(normal->getOpacity(), 90);
    EXPECT_EQ(normal->numberOfRunningActions(), 2u);

    // A hidden button does not start its fade.
    KXPObjectButton* hidden = make();
    hidden->setVisible(false);
    hidden->update(5.0f);
    EXPECT_FALSE(hidden->isFadedOut());
}

TEST_F(ButtonObject, PressesPlayTheClickSoundAndActivationTheReleaseSound) {
    auto backend = std::make_unique<audio::RecordingAudioBackend>();
    audio::RecordingAudioBackend* recorder = backend.get();
    audio::installBackend(std::move(backend));
    KXPSettingsController::purgeShared(); // nothing muted

    const std::shared_ptr<KXModelSound> click = model->clickSound();
    const auto release = game.named<KXModelSound>("Music");
    ASSERT_TRUE(click && release);
    model->releaseSoundAttribute()->setValue(release, true);
    KXPObjectButton* button = make();
    const auto played = [&] {
        std::vector<std::string> paths;
        for (const std::string& call : recorder->calls()) {
            if (call.rfind("playEffect ", 0) == 0) {
                paths.push_back(call.substr(11, call.find(' ', 11) - 11));
            }
        }
        return paths;
    };

    button->selected();
    button->unselected();
    button->activate();
    EXPECT_EQ(played(), (std::vector<std::string>{click->soundPath(), release->soundPath()}));
    for (const std::string& call : recorder->calls()) {
        if (call.rfind("playEffect ", 0) == 0) {
            EXPECT_NE(call.find("loop=0"), std::string::npos) << call;
        }
    }

    // Disabled: silent.
    recorder->clearCalls();
    button->setEnabled(false);
    button->selected();
    button->activate();
    EXPECT_TRUE(played().empty());

    KXSound::stopGroup(KXSound::kEveryGroup, true);
    audio::shutdownAudio();
    KXPSettingsController::purgeShared();
}

} // namespace
