// The demo's hero on its game field, driven through the real key road (the OIS listener and the
// input controller) and watched through the "character" trace: the arrows run and turn it, the
// jump key (J) jumps higher while held and it lands with the count back at 0, the controller's
// stick runs it and its first button jumps, the shoot key (K) fires pellets that crack the
// boulder, and running into the boulder ends it (state 4, then 5).
// The camera is held still on the meadow the field lays first. KX_SCREENSHOT_DIR=/some/folder
// keeps pictures of it.

#include "model/KXDebugLog.h"
#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelObject.h"
#include "player/app/KXPScreensController.h"
#include "player/base/KXPGameplaySettings.h"
#include "player/base/KXPTrace.h"
#include "player/desktop/EventHandler.h"
#include "player/field/KXPGameFieldCamera.h"
#include "player/field/KXPScreenScene.h"
#include "player/input/KXPInputController.h"
#include "player/objects/assets/KXPObjectAssetUnit.h"
#include "player/objects/character/KXPObjectAssetCharacter.h"
#include "player/sound/KXSound.h"
#include "support/demo_field_support.h"
#include "support/render_test_support.h"
#include "support/sample_game_support.h"
#include "tools/kxdata/demo/demo_joystick.h"

#include "cocos2d.h"

#include <OIS.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <regex>
#include <string>
#include <vector>

using namespace cocos2d;

namespace {

constexpr float kFrame = 1.0f / 60.0f;

// One "character" trace line, read back.
struct TraceLine {
    unsigned int frame = 0;
    int state = 0;
    float x = 0.0f;
    float y = 0.0f;
    int ground = 0;
    int jumps = 0;
    std::string anim;
    float scaleX = 0.0f;
};

class DemoCharacter : public kxtest::RenderTest {
protected:
    std::unique_ptr<KXDebugLogCapture> log;
    kxtest::SampleGame game;
    KXPScreenScene* field = nullptr;
    KXPObjectAssetCharacter* hero = nullptr;
    std::map<std::string, KXPObjectAssetUnit*> units;
    std::FILE* traceFile = nullptr;
    unsigned int frameNumber = 0;

    void SetUp() override {
        kxtest::RenderTest::SetUp();
        if (IsSkipped()) {
            return;
        }
        log.reset(new KXDebugLogCapture());
        field = kxtest::openHeldDemoField(game, view, kFrame);
        ASSERT_NE(field, nullptr);
        const auto section = game.named<KXModelLevelSection>("Meadow");
        ASSERT_TRUE(section);
        lay(*section);
        ASSERT_NE(hero, nullptr);
        traceFile = std::tmpfile();
        ASSERT_NE(traceFile, nullptr);
        kxTraceSetOutput(traceFile);
        kxTraceEnableKinds("character");
    }
    void TearDown() override {
        kxTraceEnableKinds("");
        kxTraceSetOutput(stdout);
        if (traceFile != nullptr) {
            std::fclose(traceFile);
        }
        CCDirector::sharedDirector()->purgeDirector();
        // The hero's landing and other one-shot sounds still playing: as the player's exit does.
        KXSound::stopGroup(KXSound::kEveryGroup, false);
        units.clear();
        KXPScreensController::shared()->reset();
        KXPInputController::purgeShared();
        log.reset();
        kxtest::RenderTest::TearDown();
    }

    // The field laid the start section itself when it opened: the hero and the units, by name.
    void lay(const KXModelLevelSection& section) {
        CCObject* item = nullptr;
        CCARRAY_FOREACH(field->getObjectLayer()->getChildren(), item) {
            auto* object = dynamic_cast<KXPObjectAsset*>(item);
            if (object == nullptr || object->levelSectionId() != section.id() ||
                (object->getType() & KXPObject::kTypeSpawnedCopy) != 0) {
                continue;
            }
            if (auto* unit = dynamic_cast<KXPObjectAssetUnit*>(object)) {
                units[unit->getModel()->name()] = unit;
            } else if (auto* character = dynamic_cast<KXPObjectAssetCharacter*>(object)) {
                EXPECT_EQ(hero, nullptr) << "one hero";
                hero = character;
            }
        }
    }
    void run(int frames) {
        for (int frame = 0; frame < frames; ++frame) {
            kxTraceSetFrame(++frameNumber);
            field->update(kFrame);
            CCPoolManager::sharedPoolManager()->pop();
        }
    }
    static void key(OIS::KeyCode code, bool down) {
        const OIS::KeyEvent event(nullptr, code, 0);
        if (down) {
            EventHandler::shared()->keyPressed(event);
        } else {
            EventHandler::shared()->keyReleased(event);
        }
    }
    // Every trace line so far, each checked against the line format.
    std::vector<TraceLine> trace() {
        std::fflush(traceFile);
        std::rewind(traceFile);
        static const std::regex format(
            "F=[0-9]+ character state=[0-9] pos=-?[0-9]+\\.[0-9],-?[0-9]+\\.[0-9] "
            "vel=-?[0-9]+\\.[0-9]{2},-?[0-9]+\\.[0-9]{2} ground=[01] jumps=[0-9]+ "
            "anim=(default|move|shooting|jump|defeated|none) scaleX=-?[0-9]+\\.[0-9]{2}");
        std::vector<TraceLine> lines;
        char text[512];
        while (std::fgets(text, sizeof text, traceFile) != nullptr) {
            std::string line(text);
            if (!line.empty() && line.back() == '\n') {
                line.pop_back();
            }
            EXPECT_TRUE(std::regex_match(line, format)) << line;
            TraceLine parsed;
            char anim[32] = {0};
            float vx = 0.0f;
            float vy = 0.0f;
            if (std::sscanf(
                    line.c_str(),
                    "F=%u character state=%d pos=%f,%f vel=%f,%f ground=%d jumps=%d anim=%31s scaleX=%f",
                    &parsed.frame, &parsed.state, &parsed.x, &parsed.y, &vx, &vy, &parsed.ground,
                    &parsed.jumps, anim, &parsed.scaleX) == 10) {
                parsed.anim = anim;
                lines.push_back(parsed);
            }
        }
        std::fseek(traceFile, 0, SEEK_END);
        return lines;
    }
    TraceLine last() {
        const std::vector<TraceLine> lines = trace();
        return lines.empty() ? TraceLine() : lines.back();
    }
    // The highest point of a jump whose key is held for `held` frames, and the line after it lands.
    float jumpPeak(int held, TraceLine* landed) {
        const size_t before = trace().size();
        key(OIS::KC_J, true);
        run(held);
        key(OIS::KC_J, false);
        run(120 - held);
        const std::vector<TraceLine> lines = trace();
        float peak = lines[before].y;
        for (size_t index = before; index < lines.size(); ++index) {
            peak = std::max(peak, lines[index].y);
        }
        *landed = lines.back();
        return peak;
    }
    void keepScreenshot(const std::string& name) {
        if (const char* folder = std::getenv("KX_SCREENSHOT_DIR")) {
            render({field->getParent()});
            ccSaveScreenshot(std::string(folder) + "/" + name + ".png");
        }
    }
    bool heroOnField() const {
        CCObject* item = nullptr;
        CCARRAY_FOREACH(field->getObjectLayer()->getChildren(), item) {
            if (dynamic_cast<KXPObjectAssetCharacter*>(item) != nullptr) {
                return true;
            }
        }
        return false;
    }
};

TEST_F(DemoCharacter, TheArrowsRunAndTurnTheHero) {
    run(20);
    const TraceLine standing = last();
    EXPECT_EQ(standing.state, 0);
    EXPECT_EQ(standing.ground, 1);
    EXPECT_EQ(standing.anim, "default");
    EXPECT_FLOAT_EQ(standing.scaleX, 1.0f);
    keepScreenshot("demo_character_standing");

    key(OIS::KC_LEFT, true);
    run(30);
    const TraceLine left = last();
    EXPECT_LT(left.x, standing.x - 40.0f);
    EXPECT_FLOAT_EQ(left.scaleX, -1.0f);
    EXPECT_EQ(left.state, 1);
    EXPECT_EQ(left.anim, "move");
    keepScreenshot("demo_character_running_left");
    key(OIS::KC_LEFT, false);
    run(20);
    EXPECT_EQ(last().state, 0);
    EXPECT_EQ(last().anim, "default");

    const float from = last().x;
    key(OIS::KC_RIGHT, true);
    run(30);
    const TraceLine right = last();
    key(OIS::KC_RIGHT, false);
    EXPECT_GT(right.x, from + 40.0f);
    EXPECT_FLOAT_EQ(right.scaleX, 1.0f);
    EXPECT_EQ(right.anim, "move");
    keepScreenshot("demo_character_running_right");
}

TEST_F(DemoCharacter, TheJumpKeyJumpsHigherWhileHeldAndTheHeroLands) {
    run(20);
    const float floor = last().y;
    TraceLine landed;
    const float tapped = jumpPeak(2, &landed) - floor;
    EXPECT_EQ(landed.ground, 1);
    EXPECT_EQ(landed.jumps, 0);
    EXPECT_EQ(landed.state, 0);
    EXPECT_NEAR(landed.y, floor, 1.0f);
    const float held = jumpPeak(20, &landed) - floor;
    EXPECT_EQ(landed.ground, 1);
    EXPECT_EQ(landed.jumps, 0);
    EXPECT_GT(tapped, 40.0f);
    EXPECT_GT(held, tapped + 50.0f);

    // One more jump in the air, then no third.
    key(OIS::KC_J, true);
    run(2);
    key(OIS::KC_J, false);
    run(10);
    EXPECT_EQ(last().anim, "jump");
    keepScreenshot("demo_character_jumping");
    for (int press = 0; press < 2; ++press) {
        key(OIS::KC_J, true);
        run(2);
        key(OIS::KC_J, false);
        run(6);
    }
    EXPECT_EQ(last().jumps, 2);
    EXPECT_EQ(last().ground, 0);
}

TEST_F(DemoCharacter, TheControllerStickRunsAndItsFirstButtonJumps) {
    run(20);
    const TraceLine standing = last();
    OIS::JoyStickState state;
    state.mAxes.resize(2);
    const OIS::JoyStickEvent event(nullptr, state);
    // Away from the boulder rolling ahead of it.
    state.mAxes[0].abs = -32768; // Linux x: full left
    EventHandler::shared()->axisMoved(event, 0);
    run(30);
    EXPECT_LT(last().x, standing.x - 60.0f);
    state.mAxes[0].abs = 0;
    EventHandler::shared()->axisMoved(event, 0);
    run(10);

    EventHandler::shared()->buttonPressed(event, 0);
    run(10);
    EventHandler::shared()->buttonReleased(event, 0);
    EXPECT_GT(last().y, standing.y + 40.0f);
    EXPECT_EQ(last().jumps, 1);
    run(90);
    EXPECT_EQ(last().ground, 1);
    EXPECT_EQ(last().jumps, 0);
}

TEST_F(DemoCharacter, TheShootKeyFiresPelletsThatCrackTheBoulder) {
    KXPObjectAssetUnit* boulder = units["Boulder"];
    ASSERT_NE(boulder, nullptr);
    boulder->retain();
    run(5);
    key(OIS::KC_K, true);
    run(4);
    EXPECT_EQ(last().state, 2);
    EXPECT_EQ(last().anim, "shooting");
    keepScreenshot("demo_character_shooting");
    run(10);
    key(OIS::KC_K, false);
    run(1);
    EXPECT_EQ(last().state, 0);
    EXPECT_GE(boulder->getState(), KXPObject::kStateDead);
    boulder->release();
}

TEST_F(DemoCharacter, RunningIntoTheBoulderEndsTheHero) {
    // Held here: the field lets go of the hero once it is finished.
    hero->retain();
    key(OIS::KC_RIGHT, true);
    int defeatedAt = -1;
    for (int frame = 0; frame < 240 && heroOnField(); ++frame) {
        run(1);
        if (defeatedAt < 0 && hero->getState() >= KXPObject::kStateDead) {
            defeatedAt = frame;
            keepScreenshot("demo_character_defeated");
        }
    }
    key(OIS::KC_RIGHT, false);
    ASSERT_GE(defeatedAt, 0) << "the hero never met the boulder";
    std::vector<int> states;
    for (const TraceLine& line : trace()) {
        if (states.empty() || states.back() != line.state) {
            states.push_back(line.state);
        }
    }
    EXPECT_EQ(states, (std::vector<int>{1, 4, 5}));
    EXPECT_FALSE(heroOnField()) << "removed by the field the frame after";
    EXPECT_TRUE(KXPInputController::shared()->characters().empty());
    EXPECT_FALSE(KXPInputController::shared()->hasLiveCharacters());
    EXPECT_TRUE(log->contains("[KXPScreenScene] - flash: 0.400000"));
    EXPECT_TRUE(log->contains("[KXPScreenScene] - shake: 0.300000"));
    run(10);
    keepScreenshot("demo_character_after");
    hero->release();
}

// The heads-up pad through the real touch road (the view's touches, the dispatcher, the joystick,
// the input controller): a drag to the left runs the hero left, lifting the finger stops it, and
// a drag to the right turns it and runs it right.
TEST_F(DemoCharacter, TheHeadsUpJoystickRunsTheHeroWhileDraggedAndStopsItWhenLetGo) {
    using kxdata::demo::kDemoJoystickCentre;
    auto touch = [this](void (CCEGLViewProtocol::*phase)(int, const int[], const float[], const float[]),
                        float dx) {
        const CCPoint pixel =
            CCDirector::sharedDirector()->convertToUI(kDemoJoystickCentre + CCPoint(dx, 0.0f));
        int id = 0;
        float x = pixel.x;
        float y = pixel.y;
        (view->*phase)(1, &id, &x, &y);
    };
    run(20);
    const TraceLine standing = last();
    touch(&CCEGLViewProtocol::handleTouchesBegin, 0.0f);
    touch(&CCEGLViewProtocol::handleTouchesMove, -80.0f);
    run(15);
    const TraceLine running = last();
    EXPECT_LT(running.x, standing.x - 40.0f);
    EXPECT_EQ(running.state, 1);
    EXPECT_EQ(running.anim, "move");
    EXPECT_FLOAT_EQ(running.scaleX, -1.0f);
    keepScreenshot("demo_character_joystick_left");

    touch(&CCEGLViewProtocol::handleTouchesEnd, -80.0f);
    run(40);
    const TraceLine stopped = last();
    EXPECT_EQ(stopped.state, 0);
    EXPECT_EQ(stopped.anim, "default");
    run(20);
    EXPECT_NEAR(last().x, stopped.x, 1.0f) << "the hero keeps running after the finger is lifted";

    touch(&CCEGLViewProtocol::handleTouchesBegin, 0.0f);
    touch(&CCEGLViewProtocol::handleTouchesMove, 80.0f);
    run(15);
    touch(&CCEGLViewProtocol::handleTouchesEnd, 80.0f);
    EXPECT_GT(last().x, stopped.x + 40.0f);
    EXPECT_FLOAT_EQ(last().scaleX, 1.0f);
}

} // namespace
