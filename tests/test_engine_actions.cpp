// Action timing, repeats, fades, pausing and restarting through the director's frames.
#include "support/scene_test_support.h"

using namespace cocos2d;

namespace {

class ActionTest : public kxtest::SceneTest {
protected:
    CCScene* scene = nullptr;

    // A running scene, so that nodes added to it run their actions.
    void SetUp() override {
        kxtest::SceneTest::SetUp();
        scene = CCScene::create();
        director()->runWithScene(scene);
        frames(1);
    }

    CCNodeRGBA* addSprite(GLubyte opacity) {
        CCNodeRGBA* node = CCNodeRGBA::create();
        node->setOpacity(opacity);
        scene->addChild(node);
        return node;
    }
};

// Records every normalised time it is updated with, and its starts and stops.
class TimeRecorder : public CCActionInterval {
public:
    static TimeRecorder* make(float duration, kxtest::EventLog* log = nullptr) {
        TimeRecorder* action = new TimeRecorder();
        action->initWithDuration(duration);
        action->m_log = log;
        action->autorelease();
        return action;
    }
    void startWithTarget(CCNode* target) override {
        CCActionInterval::startWithTarget(target);
        if (m_log) {
            m_log->add("start");
        }
    }
    void stop() override {
        if (m_log) {
            m_log->add("stop");
        }
        CCActionInterval::stop();
    }
    void update(float t) override {
        times.push_back(t);
        if (m_log) {
            char text[32];
            std::snprintf(text, sizeof text, "%.2f", t);
            m_log->add(text);
        }
    }
    std::vector<float> times;

private:
    kxtest::EventLog* m_log = nullptr;
};

// Logs its name at each step.
class NamedStep : public CCActionInterval {
public:
    static NamedStep* make(const std::string& name, kxtest::EventLog* log) {
        NamedStep* action = new NamedStep();
        action->initWithDuration(100.0f);
        action->m_name = name;
        action->m_log = log;
        action->autorelease();
        return action;
    }
    void update(float) override { m_log->add(m_name); }

private:
    std::string m_name;
    kxtest::EventLog* m_log = nullptr;
};

class CallTarget : public CCObject {
public:
    void hit() { ++hits; }
    void stopOwner() {
        ++hits;
        owner->stopAllActions();
    }
    int hits = 0;
    CCNode* owner = nullptr;
};

void expectTimes(const std::vector<float>& actual, const std::vector<float>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) {
        EXPECT_NEAR(actual[i], expected[i], 1e-5f) << "at " << i;
    }
}

} // namespace

TEST_F(ActionTest, FirstStepAppliesZeroThenTimeAccumulates) {
    CCNode* node = addSprite(255);
    TimeRecorder* action = TimeRecorder::make(1.0f);
    action->retain(); // read after the manager drops it
    node->runAction(action);
    frames(6);
    // Frames of 0.25 s; the first one is spent on t = 0.
    expectTimes(action->times, {0.0f, 0.25f, 0.5f, 0.75f, 1.0f});
    EXPECT_EQ(node->numberOfRunningActions(), 0u);
    action->release();
}

TEST_F(ActionTest, ZeroDurationCompletesAtOnce) {
    CCNode* node = addSprite(255);
    TimeRecorder* action = TimeRecorder::make(0.0f);
    action->retain(); // read after the manager drops it
    node->runAction(action);
    frames(1);
    expectTimes(action->times, {1.0f});
    EXPECT_EQ(node->numberOfRunningActions(), 0u);
    action->release();
}

TEST_F(ActionTest, FadeOutStartsFromFullOpacity) {
    CCNodeRGBA* node = addSprite(100);
    node->runAction(CCFadeOut::create(2.0f));
    frames(1);
    EXPECT_EQ(node->getOpacity(), 255);
    frames(4);                          // 1 s
    EXPECT_EQ(node->getOpacity(), 127); // 127.5 truncated
    frames(4);
    EXPECT_EQ(node->getOpacity(), 0);
    EXPECT_EQ(node->numberOfRunningActions(), 0u);
}

TEST_F(ActionTest, FadeToStartsFromTheCurrentOpacity) {
    CCNodeRGBA* node = addSprite(100);
    node->runAction(CCFadeTo::create(2.0f, 0));
    frames(1);
    EXPECT_EQ(node->getOpacity(), 100);
    frames(4);
    EXPECT_EQ(node->getOpacity(), 50);
    frames(4);
    EXPECT_EQ(node->getOpacity(), 0);
}

TEST_F(ActionTest, FadesOnAPlainNodeDoNothingAndFinish) {
    CCNode* plain = CCNode::create();
    scene->addChild(plain);
    plain->runAction(CCFadeOut::create(0.5f));
    plain->runAction(CCRepeat::create(CCFadeTo::create(0.5f, 10), 2));
    frames(6);
    EXPECT_EQ(plain->numberOfRunningActions(), 0u);
}

TEST_F(ActionTest, RepeatOnceIsRemovedWhenDoneSoItsTagIsGone) {
    CCNodeRGBA* node = addSprite(255);
    CCAction* repeat = CCRepeat::create(CCFadeOut::create(0.5f), 1);
    repeat->setTag(76);
    node->runAction(repeat);
    frames(1);
    EXPECT_EQ(node->getActionByTag(76), repeat);
    frames(2);
    EXPECT_EQ(node->getActionByTag(76), nullptr);
    EXPECT_EQ(node->getOpacity(), 0);
}

TEST_F(ActionTest, RepeatRunsTheInnerActionNTimesOverNTimesItsDuration) {
    CCNode* node = addSprite(255);
    TimeRecorder* inner = TimeRecorder::make(0.5f, &log);
    CCRepeat* repeat = CCRepeat::create(inner, 2);
    EXPECT_FLOAT_EQ(repeat->getDuration(), 1.0f);
    node->runAction(repeat);
    frames(5);
    EXPECT_EQ(log.events, (std::vector<std::string>{"start", "0.00", "0.50", "1.00", "stop", "start", "0.00",
                                                    "0.50", "1.00", "stop"}));
    EXPECT_EQ(node->numberOfRunningActions(), 0u);
}

TEST_F(ActionTest, RepeatForeverRestartsCarryingTheOvershoot) {
    director()->setFixedDeltaTime(0.4f);
    CCNode* node = addSprite(255);
    TimeRecorder* inner = TimeRecorder::make(1.0f);
    node->runAction(CCRepeatForever::create(inner));
    frames(6);
    // 0, 0.4, 0.8, then 1.2: the end, a restart at 0 and the 0.2 left over; then 0.6, 1.0 and so on.
    expectTimes(inner->times, {0.0f, 0.4f, 0.8f, 1.0f, 0.0f, 0.2f, 0.6f, 1.0f, 0.0f, 0.0f});
    EXPECT_EQ(node->numberOfRunningActions(), 1u);
}

TEST_F(ActionTest, ARetainedActionRestartsFromItsStart) {
    CCNodeRGBA* node = addSprite(255);
    CCFadeOut* fade = CCFadeOut::create(0.5f);
    fade->retain();
    node->runAction(fade);
    frames(3);
    EXPECT_EQ(node->getOpacity(), 0);
    EXPECT_EQ(node->numberOfRunningActions(), 0u);

    node->runAction(fade);
    frames(1);
    EXPECT_EQ(node->getOpacity(), 255);
    frames(1);
    EXPECT_EQ(node->getOpacity(), 127);

    // Running it again while it runs starts it over, without a second copy.
    node->runAction(fade);
    EXPECT_EQ(node->numberOfRunningActions(), 1u);
    frames(1);
    EXPECT_EQ(node->getOpacity(), 255);
    fade->release();
}

TEST_F(ActionTest, PausedTargetKeepsItsActionsFrozen) {
    CCNodeRGBA* node = addSprite(255);
    node->runAction(CCFadeOut::create(1.0f));
    frames(3); // t = 0.5
    EXPECT_EQ(node->getOpacity(), 127);
    director()->getActionManager()->pauseTarget(node);
    frames(4);
    EXPECT_EQ(node->getOpacity(), 127);
    EXPECT_EQ(node->numberOfRunningActions(), 1u);
    director()->getActionManager()->resumeTarget(node);
    frames(1);
    EXPECT_EQ(node->getOpacity(), 63); // t = 0.75
}

TEST_F(ActionTest, ActionsWaitUntilTheNodeIsOnStage) {
    CCNodeRGBA* node = CCNodeRGBA::create();
    node->setOpacity(200);
    node->runAction(CCFadeTo::create(1.0f, 0));
    frames(2);
    EXPECT_EQ(node->getOpacity(), 200);
    scene->addChild(node);
    frames(3);
    EXPECT_EQ(node->getOpacity(), 100);
    node->retain();
    node->removeFromParent(); // with cleanup: the actions end
    EXPECT_EQ(node->numberOfRunningActions(), 0u);
    node->release();
}

TEST_F(ActionTest, SequenceRunsInOrderAndCallFuncFires) {
    CCNode* node = addSprite(255);
    CallTarget* target = new CallTarget();
    TimeRecorder* first = TimeRecorder::make(0.5f, &log);
    node->runAction(CCSequence::create(first, CCCallFunc::create(target, callfunc_selector(CallTarget::hit)),
                                       CCDelayTime::create(0.25f), nullptr));
    frames(2);
    EXPECT_EQ(target->hits, 0);
    frames(1);
    EXPECT_EQ(target->hits, 1);
    EXPECT_EQ(log.events, (std::vector<std::string>{"start", "0.00", "0.50", "1.00", "stop"}));
    frames(2);
    EXPECT_EQ(node->numberOfRunningActions(), 0u);
    EXPECT_EQ(target->hits, 1);
    target->release();
}

TEST_F(ActionTest, AnActionThatStopsItsOwnTargetIsSafe) {
    CCNode* node = addSprite(255);
    CallTarget* target = new CallTarget();
    target->owner = node;
    node->runAction(CCCallFunc::create(target, callfunc_selector(CallTarget::stopOwner)));
    node->runAction(CCFadeOut::create(1.0f));
    frames(2);
    EXPECT_EQ(target->hits, 1);
    EXPECT_EQ(node->numberOfRunningActions(), 0u);
    target->release();
}

TEST_F(ActionTest, RemoveAllActionsEndsEveryTarget) {
    CCNodeRGBA* first = addSprite(255);
    CCNodeRGBA* second = addSprite(255);
    CCNodeRGBA* third = addSprite(255);
    for (CCNode* node :
         {static_cast<CCNode*>(first), static_cast<CCNode*>(second), static_cast<CCNode*>(third)}) {
        node->runAction(CCFadeOut::create(1.0f));
        node->runAction(CCDelayTime::create(1.0f));
    }
    director()->getActionManager()->removeAllActions();
    EXPECT_EQ(first->numberOfRunningActions(), 0u);
    EXPECT_EQ(second->numberOfRunningActions(), 0u);
    EXPECT_EQ(third->numberOfRunningActions(), 0u);
    frames(2);
    EXPECT_EQ(second->getOpacity(), 255);
}

TEST_F(ActionTest, TargetsThatStopLetGoAndTheRestStepInTheOrderTheyCame) {
    std::vector<CCNode*> nodes;
    for (int index = 0; index < 12; ++index) {
        nodes.push_back(addSprite(255));
        nodes.back()->runAction(NamedStep::make(std::to_string(index), &log));
    }
    frames(1);
    log.clear();
    const unsigned int running = nodes[0]->retainCount();
    for (int index : {0, 1, 2, 4, 5, 6, 7, 9, 10}) {
        nodes[static_cast<size_t>(index)]->stopAllActions();
    }
    EXPECT_EQ(nodes[0]->retainCount(), running - 1);
    // One that starts again comes after those that kept running.
    nodes[1]->runAction(NamedStep::make("1", &log));
    frames(1);
    EXPECT_EQ(log.events, (std::vector<std::string>{"3", "8", "11", "1"}));
    nodes[8]->stopAllActions();
    log.clear();
    frames(1);
    EXPECT_EQ(log.events, (std::vector<std::string>{"3", "11", "1"}));
}
