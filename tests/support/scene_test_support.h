// Helpers for the scene-graph suites: a reset director with a plain view and deterministic frames.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cocos2d_base.h"
#include "cocos2d_scene.h"

namespace kxtest {

// A record of callbacks, in order.
struct EventLog {
    std::vector<std::string> events;
    void add(const std::string& event) { events.push_back(event); }
    void clear() { events.clear(); }
};

// Every test starts from a purged director with a 1000 x 500 headless view and frames of 0.25 s.
// The log outlives TearDown, where the running scene still reports its exit.
class SceneTest : public ::testing::Test {
protected:
    cocos2d::CCEGLViewProtocol view;
    EventLog log;

    void SetUp() override {
        cocos2d::CCDirector* director = cocos2d::CCDirector::sharedDirector();
        director->purgeDirector();
        view.setFrameSize(1000.0f, 500.0f);
        director->setOpenGLView(&view);
        director->setFixedDeltaTime(0.25f);
    }

    void TearDown() override { cocos2d::CCDirector::sharedDirector()->purgeDirector(); }

    static cocos2d::CCDirector* director() { return cocos2d::CCDirector::sharedDirector(); }
    static void frames(unsigned int n) { director()->runFrames(n); }
};

} // namespace kxtest
