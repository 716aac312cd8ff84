// Scheduler order and timers, node schedules on and off stage, and the director's frame.
#include "support/scene_test_support.h"

using namespace cocos2d;

namespace {

class SchedulerTest : public kxtest::SceneTest {};

// Logs its per-frame update under a name.
class UpdateLogger : public CCNode {
public:
    static UpdateLogger* make(kxtest::EventLog* log, const std::string& name) {
        UpdateLogger* node = new UpdateLogger();
        node->m_log = log;
        node->m_name = name;
        node->autorelease();
        return node;
    }
    void update(float dt) override {
        if (m_log) {
            m_log->add(m_name);
        }
        m_lastDt = dt;
        ++m_updates;
    }
    void onTimer(float elapsed) {
        m_timerArgs.push_back(elapsed);
        if (m_log) {
            m_log->add(m_name + ".timer");
        }
    }
    void onceFired(float) { m_firedAtFrame = CCDirector::sharedDirector()->getTotalFrames(); }

    kxtest::EventLog* m_log = nullptr;
    std::string m_name;
    float m_lastDt = -1.0f;
    int m_updates = 0;
    std::vector<float> m_timerArgs;
    unsigned int m_firedAtFrame = 0;
};

// A plain object (not a node) with an update, like the input-capture object.
class CaptureObject : public CCObject {
public:
    explicit CaptureObject(kxtest::EventLog* log) : m_log(log) {}
    void update(float) override { m_log->add("capture"); }

private:
    kxtest::EventLog* m_log;
};

// An action that logs each step's update.
class LoggingAction : public CCActionInterval {
public:
    static LoggingAction* make(kxtest::EventLog* log) {
        LoggingAction* action = new LoggingAction();
        action->initWithDuration(100.0f);
        action->m_log = log;
        action->autorelease();
        return action;
    }
    void update(float) override { m_log->add("action"); }

private:
    kxtest::EventLog* m_log = nullptr;
};

// Logs its life cycle; can replace the running scene from inside draw().
class LifecycleScene : public CCScene {
public:
    static LifecycleScene* make(kxtest::EventLog* log, const std::string& name, bool* destroyed = nullptr) {
        LifecycleScene* scene = new LifecycleScene();
        scene->init();
        scene->m_log = log;
        scene->m_name = name;
        scene->m_destroyed = destroyed;
        scene->autorelease();
        return scene;
    }
    ~LifecycleScene() override {
        if (m_destroyed) {
            *m_destroyed = true;
        }
    }
    void onEnter() override {
        CCScene::onEnter();
        m_log->add(m_name + ".onEnter");
    }
    void onExit() override {
        CCScene::onExit();
        m_log->add(m_name + ".onExit");
    }
    void cleanup() override {
        CCScene::cleanup();
        m_log->add(m_name + ".cleanup");
    }
    void update(float) override { m_log->add(m_name + ".update"); }
    void draw() override {
        m_log->add(m_name + ".draw");
        if (m_replaceWith) {
            CCDirector::sharedDirector()->replaceScene(m_replaceWith);
            m_replaceWith = nullptr;
        }
    }

    CCScene* m_replaceWith = nullptr;

private:
    kxtest::EventLog* m_log = nullptr;
    std::string m_name;
    bool* m_destroyed = nullptr;
};

class TrackedObject : public CCObject {
public:
    explicit TrackedObject(bool* destroyed) : m_destroyed(destroyed) {}
    ~TrackedObject() override { *m_destroyed = true; }

private:
    bool* m_destroyed;
};

} // namespace

TEST_F(SchedulerTest, UpdatesRunActionsFirstThenByPriorityThenRegistrationThenTimers) {
    CCScene* scene = CCScene::create();
    director()->runWithScene(scene);
    frames(1);

    CaptureObject* capture = new CaptureObject(&log);
    director()->getScheduler()->scheduleUpdateForTarget(capture, 0, false);

    UpdateLogger* a = UpdateLogger::make(&log, "a");
    UpdateLogger* b = UpdateLogger::make(&log, "b");
    UpdateLogger* c = UpdateLogger::make(&log, "c");
    UpdateLogger* d = UpdateLogger::make(&log, "d");
    for (CCNode* node : {static_cast<CCNode*>(a), static_cast<CCNode*>(b), static_cast<CCNode*>(c),
                         static_cast<CCNode*>(d)}) {
        scene->addChild(node);
    }
    c->schedule(schedule_selector(UpdateLogger::onTimer));
    a->scheduleUpdate();
    b->scheduleUpdateWithPriority(-1);
    c->scheduleUpdateWithPriority(5);
    d->scheduleUpdateWithPriority(-1);
    a->runAction(LoggingAction::make(&log));

    frames(1);
    EXPECT_EQ(log.events, (std::vector<std::string>{"action", "b", "d", "capture", "a", "c", "c.timer"}));

    director()->getScheduler()->unscheduleUpdateForTarget(capture);
    EXPECT_EQ(capture->retainCount(), 1u);
    capture->release();
}

TEST_F(SchedulerTest, ScheduleOnceFiresWithinAFrameOfTheDelay) {
    director()->setFixedDeltaTime(1.0f / 60.0f);
    CCScene* scene = CCScene::create();
    director()->runWithScene(scene);
    frames(1);
    UpdateLogger* node = UpdateLogger::make(nullptr, "n");
    scene->addChild(node);
    const unsigned int start = director()->getTotalFrames();
    // Six closing frames at 1/30 s each: 0.2 s, twelve frames of 1/60 s.
    node->scheduleOnce(schedule_selector(UpdateLogger::onceFired), 6 * (1.0f / 30.0f));
    frames(20);
    ASSERT_NE(node->m_firedAtFrame, 0u);
    const int after = static_cast<int>(node->m_firedAtFrame - start);
    EXPECT_GE(after, 11);
    EXPECT_LE(after, 13);
    EXPECT_FALSE(node->isScheduled(schedule_selector(UpdateLogger::onceFired)));
}

TEST_F(SchedulerTest, IntervalTimerFiresOncePerCrossingWithTheElapsedTime) {
    CCScheduler* scheduler = director()->getScheduler();
    UpdateLogger* node = UpdateLogger::make(nullptr, "n");
    scheduler->scheduleSelector(schedule_selector(UpdateLogger::onTimer), node, 1.0f, false);
    for (int i = 0; i < 8; ++i) {
        scheduler->update(0.3f);
    }
    // 0.3, 0.6, 0.9, 1.2 -> fire with 1.2 and restart; again after four more frames.
    ASSERT_EQ(node->m_timerArgs.size(), 2u);
    EXPECT_NEAR(node->m_timerArgs[0], 1.2f, 1e-5f);
    EXPECT_NEAR(node->m_timerArgs[1], 1.2f, 1e-5f);

    // A long frame still fires once.
    scheduler->update(3.5f);
    EXPECT_EQ(node->m_timerArgs.size(), 3u);
    EXPECT_NEAR(node->m_timerArgs[2], 3.5f, 1e-5f);
    scheduler->unscheduleAllForTarget(node);
}

TEST_F(SchedulerTest, RepeatAndDelayCountFirings) {
    CCScheduler* scheduler = director()->getScheduler();
    UpdateLogger* node = UpdateLogger::make(nullptr, "n");
    // First firing after 0.5 s, then two more every 0.25 s.
    scheduler->scheduleSelector(schedule_selector(UpdateLogger::onTimer), node, 0.25f, 2, 0.5f, false);
    for (int i = 0; i < 10; ++i) {
        scheduler->update(0.25f);
    }
    EXPECT_EQ(node->m_timerArgs.size(), 3u);
    EXPECT_FALSE(scheduler->isSelectorScheduled(schedule_selector(UpdateLogger::onTimer), node));
}

TEST_F(SchedulerTest, NodeSchedulesAndActionsArePausedOffStage) {
    CCScene* scene = CCScene::create();
    director()->runWithScene(scene);
    frames(1);

    UpdateLogger* node = UpdateLogger::make(nullptr, "n");
    node->retain();
    node->scheduleUpdate();
    frames(2);
    EXPECT_EQ(node->m_updates, 0);

    scene->addChild(node);
    frames(2);
    EXPECT_EQ(node->m_updates, 2);

    node->removeFromParentAndCleanup(false);
    frames(2);
    EXPECT_EQ(node->m_updates, 2);
    EXPECT_TRUE(director()->getScheduler()->isTargetPaused(node));

    scene->addChild(node);
    frames(1);
    EXPECT_EQ(node->m_updates, 3);

    node->removeFromParent(); // with cleanup
    EXPECT_FALSE(director()->getScheduler()->isScheduledForUpdate(node));
    EXPECT_EQ(node->retainCount(), 1u);
    node->release();
}

TEST_F(SchedulerTest, ChangesDuringAnUpdateAreSafe) {
    struct SelfRemover : CCObject {
        CCObject* other = nullptr;
        int calls = 0;
        void update(float) override {
            ++calls;
            CCScheduler* scheduler = CCDirector::sharedDirector()->getScheduler();
            scheduler->unscheduleUpdateForTarget(this);
            scheduler->unscheduleUpdateForTarget(other);
            scheduler->scheduleUpdateForTarget(this, -10, false);
        }
    };
    struct Counter : CCObject {
        int calls = 0;
        void update(float) override { ++calls; }
    };
    CCScheduler* scheduler = director()->getScheduler();
    SelfRemover* remover = new SelfRemover();
    Counter* counter = new Counter();
    remover->other = counter;
    scheduler->scheduleUpdateForTarget(remover, 0, false);
    scheduler->scheduleUpdateForTarget(counter, 1, false);
    remover->release(); // the scheduler holds them now
    counter->release();

    scheduler->update(0.1f);
    // The counter was removed before its turn; the remover's new entry waits for the next frame.
    EXPECT_EQ(remover->calls, 1);
    EXPECT_FALSE(scheduler->isScheduledForUpdate(counter));
    scheduler->update(0.1f);
    EXPECT_EQ(remover->calls, 2);
    scheduler->unscheduleUpdateForTarget(remover);
}

TEST_F(SchedulerTest, ReplaceSceneFromDrawTakesEffectNextFrameInOrder) {
    view.setRenderingEnabled(true);
    bool oldDestroyed = false;
    LifecycleScene* first = LifecycleScene::make(&log, "A", &oldDestroyed);
    LifecycleScene* second = LifecycleScene::make(&log, "B");
    second->retain(); // kept across frames by the test until draw hands it over
    first->scheduleUpdate();

    director()->runWithScene(first);
    EXPECT_EQ(director()->getRunningScene(), nullptr);
    frames(1);
    EXPECT_EQ(director()->getRunningScene(), first);
    EXPECT_EQ(log.events, (std::vector<std::string>{"A.onEnter", "A.draw"}));

    log.clear();
    first->m_replaceWith = second;
    frames(1);
    EXPECT_EQ(director()->getRunningScene(), first);
    EXPECT_EQ(log.events, (std::vector<std::string>{"A.update", "A.draw"}));

    log.clear();
    frames(1);
    EXPECT_EQ(director()->getRunningScene(), second);
    EXPECT_EQ(log.events,
              (std::vector<std::string>{"A.update", "A.onExit", "A.cleanup", "B.onEnter", "B.draw"}));
    EXPECT_TRUE(oldDestroyed);
    second->release();
}

// A scene handed to the director and replaced before it ran gets the clean-up a switch would have
// given it: nothing of it stays in the scheduler, which would hold it for good.
TEST_F(SchedulerTest, ASceneReplacedBeforeItRanIsCleanedUpAndGoes) {
    director()->runWithScene(LifecycleScene::make(&log, "A"));
    frames(1);
    bool droppedDestroyed = false;
    LifecycleScene* dropped = LifecycleScene::make(&log, "B", &droppedDestroyed);
    dropped->scheduleUpdate();
    director()->replaceScene(dropped);
    log.clear();
    director()->replaceScene(LifecycleScene::make(&log, "C"));
    EXPECT_EQ(log.events, std::vector<std::string>{"B.cleanup"});
    frames(1);
    EXPECT_TRUE(droppedDestroyed);
}

TEST_F(SchedulerTest, HeadlessFramesUpdateButNeverVisit) {
    LifecycleScene* scene = LifecycleScene::make(&log, "A");
    scene->scheduleUpdate();
    director()->runWithScene(scene);
    frames(2);
    // Frame 1 updates before the switch, while the scene is still off stage.
    EXPECT_EQ(log.events, (std::vector<std::string>{"A.onEnter", "A.update"}));

    // With no view at all the director uses the default window size.
    director()->setOpenGLView(nullptr);
    EXPECT_EQ(director()->getWinSize(), CCDirector::kDefaultWinSize);
    frames(1);
    EXPECT_EQ(log.events.back(), "A.update");
    EXPECT_EQ(director()->getTotalFrames(), 3u);
}

TEST_F(SchedulerTest, DeltaTimeIsFixedInTestModeAndZeroAfterARestart) {
    CCScene* scene = CCScene::create();
    UpdateLogger* node = UpdateLogger::make(nullptr, "n");
    scene->addChild(node);
    node->scheduleUpdate();
    director()->runWithScene(scene);
    frames(2);
    EXPECT_FLOAT_EQ(node->m_lastDt, 0.25f);

    director()->setFixedDeltaTime(0.0f);
    director()->stopAnimation();
    frames(3);
    EXPECT_EQ(node->m_updates, 1);
    director()->startAnimation();
    frames(1);
    EXPECT_EQ(node->m_updates, 2);
    EXPECT_EQ(node->m_lastDt, 0.0f);
    frames(1);
    EXPECT_GE(node->m_lastDt, 0.0f);
}

TEST_F(SchedulerTest, AutoreleasePoolDrainsEveryFrameAndOnPurge) {
    bool destroyed = false;
    (new TrackedObject(&destroyed))->autorelease();
    EXPECT_FALSE(destroyed);
    frames(1);
    EXPECT_TRUE(destroyed);

    // Stopped animation still drains.
    destroyed = false;
    director()->stopAnimation();
    (new TrackedObject(&destroyed))->autorelease();
    frames(1);
    EXPECT_TRUE(destroyed);

    destroyed = false;
    (new TrackedObject(&destroyed))->autorelease();
    director()->purgeDirector();
    EXPECT_TRUE(destroyed);
}

TEST_F(SchedulerTest, PurgeEndsTheRunningSceneAndClearsInput) {
    bool destroyed = false;
    director()->runWithScene(LifecycleScene::make(&log, "A", &destroyed));
    frames(1);
    CCLayer* layer = CCLayer::create();
    layer->setKeypadEnabled(true);
    director()->getRunningScene()->addChild(layer);
    EXPECT_EQ(director()->getKeypadDispatcher()->delegateCount(), 1);

    director()->purgeDirector();
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(director()->getRunningScene(), nullptr);
    EXPECT_EQ(director()->getKeypadDispatcher()->delegateCount(), 0);
    EXPECT_EQ(log.events.back(), "A.cleanup");
}

TEST_F(SchedulerTest, WindowGeometryReads) {
    EXPECT_EQ(director()->getWinSize(), CCSize(1000.0f, 500.0f));
    EXPECT_EQ(director()->contentOffset(), CCPointZero);
    const CCPoint gl = director()->convertToGL(CCPoint(30.0f, 100.0f));
    EXPECT_FLOAT_EQ(gl.x, 30.0f);
    EXPECT_FLOAT_EQ(gl.y, 400.0f);
    // Window centre in scene coordinates: size / 2 - offset.
    const CCSize win = director()->getWinSize();
    const CCPoint centre = CCPoint(win.width / 2.0f, win.height / 2.0f) - director()->contentOffset();
    EXPECT_EQ(centre, CCPoint(500.0f, 250.0f));
}
