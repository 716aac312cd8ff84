#pragma once

// The demo's game scene "world1" on the director, for suites that watch its level up close: the
// demo is written and loaded, the scene runs in the player's landscape window (960 x 540 showing
// the 1136 x 640 design area) with fixed 1/60 s frames, and the camera is held still, since the
// demo scrolls on by itself.

#include "cocos2d.h"
#include "player/app/KXPScreensController.h"
#include "player/base/KXPGameplaySettings.h"
#include "player/field/KXPScreenScene.h"
#include "support/sample_game_support.h"

#include <gtest/gtest.h>

#include <string>

namespace kxtest {

// The running field; null, with the failure recorded, when a step fails.
inline KXPScreenScene* openHeldDemoField(SampleGame& game, cocos2d::CCEGLView* view, float frame) {
    view->setFrameSize(960, 540);
    view->setDesignResolutionSize(1136, 640, cocos2d::kResolutionExactFit);
    std::string failure;
    if (!game.write(&failure, "write-demo") || !game.load(&failure)) {
        ADD_FAILURE() << failure;
        return nullptr;
    }
    KXPScreensController* screens = KXPScreensController::shared();
    screens->reset();
    if (screens->showScreens("world1", "", 0) != KXPScreensController::kNewScene) {
        ADD_FAILURE() << "the demo has no game scene world1";
        return nullptr;
    }
    cocos2d::CCScene* scene = screens->currentScene();
    if (scene == nullptr) {
        ADD_FAILURE() << "world1 cannot be built";
        return nullptr;
    }
    cocos2d::CCDirector* director = cocos2d::CCDirector::sharedDirector();
    director->setFixedDeltaTime(frame);
    director->runWithScene(scene);
    director->runFrames(1);
    auto* field = dynamic_cast<KXPScreenScene*>(scene->getChildByTag(0));
    if (field == nullptr) {
        ADD_FAILURE() << "world1 shows no game field";
        return nullptr;
    }
    KXPGameplaySettings* gameplay = KXPGameplaySettings::shared();
    gameplay->setGameSpeedMin(0.0f);
    gameplay->setGameSpeedMax(0.0f);
    gameplay->setGameSpeed(0.0f);
    return field;
}

} // namespace kxtest
