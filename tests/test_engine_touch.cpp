// Touch dispatch order and swallowing, menus, keypad delivery and the accelerometer hook.
#include <functional>

#include "support/scene_test_support.h"

using namespace cocos2d;

namespace {

class TouchTest : public kxtest::SceneTest {
protected:
    CCScene* scene = nullptr;
    CCTouchDispatcher* dispatcher = nullptr;

    void SetUp() override {
        kxtest::SceneTest::SetUp();
        scene = CCScene::create();
        director()->runWithScene(scene);
        frames(1);
        dispatcher = director()->getTouchDispatcher();
    }

    // A touch at a scene point (the view is 1000 x 500, scale 1, so view y = 500 - y).
    static CCTouch* touchAt(float x, float y, int id = 0) {
        CCTouch* touch = new CCTouch();
        touch->setTouchInfo(id, x, 500.0f - y);
        touch->autorelease();
        return touch;
    }
    void send(unsigned int phase, CCTouch* touch) {
        CCSet* set = CCSet::create();
        set->addObject(touch);
        dispatcher->touches(set, nullptr, phase);
    }
    static void moveTo(CCTouch* touch, float x, float y) {
        touch->setTouchInfo(touch->getID(), x, 500.0f - y);
    }
};

// Logs its callbacks; claims and swallows as configured; can run a hook in ccTouchBegan.
class Handler : public CCObject, public CCTouchDelegate {
public:
    Handler(kxtest::EventLog* log, std::string name, bool claims)
        : m_log(log), m_name(std::move(name)), m_claims(claims) {}
    bool ccTouchBegan(CCTouch*, CCEvent*) override {
        m_log->add(m_name + ".began");
        if (onBegan) {
            onBegan();
        }
        return m_claims;
    }
    void ccTouchMoved(CCTouch*, CCEvent*) override { m_log->add(m_name + ".moved"); }
    void ccTouchEnded(CCTouch*, CCEvent*) override { m_log->add(m_name + ".ended"); }
    void ccTouchesBegan(CCSet* touches, CCEvent*) override {
        m_log->add(m_name + ".touchesBegan" + std::to_string(touches->count()));
    }
    std::function<void()> onBegan;

private:
    kxtest::EventLog* m_log;
    std::string m_name;
    bool m_claims;
};

// A menu listener that records which item fired and can run a hook.
class Listener : public CCObject {
public:
    void pressed(CCObject* sender) {
        fired.push_back(static_cast<CCNode*>(sender)->getTag());
        if (onPress) {
            onPress();
        }
    }
    std::vector<int> fired;
    std::function<void()> onPress;
};

// A 100 x 40 item centred at (x, y) inside a menu at the origin.
CCMenuItem* makeItem(Listener* listener, int tag, float x, float y) {
    CCMenuItem* item = CCMenuItem::create(listener, menu_selector(Listener::pressed));
    item->setContentSize(CCSize(100.0f, 40.0f));
    item->setPosition(CCPoint(x, y));
    item->setTag(tag);
    return item;
}

CCMenu* makeMenu(int priority, bool swallows) {
    CCMenu* menu = CCMenu::create(swallows);
    menu->setPosition(CCPointZero);
    menu->setAnchorPoint(CCPointZero);
    menu->setTouchPriority(priority);
    return menu;
}

class KeyLogger : public CCObject, public CCKeypadDelegate {
public:
    KeyLogger(kxtest::EventLog* log, std::string name) : m_log(log), m_name(std::move(name)) {}
    void keyBackClicked() override { m_log->add(m_name + ".back"); }
    void keyMenuClicked() override { m_log->add(m_name + ".menu"); }
    void onKeyDown(int code) override {
        m_log->add(m_name + ".down" + std::to_string(code));
        if (onDown) {
            onDown();
        }
    }
    void onKeyUp(int code) override { m_log->add(m_name + ".up" + std::to_string(code)); }
    std::function<void()> onDown;

private:
    kxtest::EventLog* m_log;
    std::string m_name;
};

class TiltLayer : public CCLayer {
public:
    void didAccelerate(CCAcceleration* value) override { last = *value; }
    CCAcceleration last;
};

} // namespace

TEST_F(TouchTest, TargetedHandlersByPriorityNewestFirstAmongEquals) {
    Handler* older = new Handler(&log, "older", false);
    Handler* urgent = new Handler(&log, "urgent", false);
    Handler* newer = new Handler(&log, "newer", false);
    dispatcher->addTargetedDelegate(older, 0, true);
    dispatcher->addTargetedDelegate(urgent, -5, true);
    dispatcher->addTargetedDelegate(newer, 0, true);
    older->release();
    urgent->release();
    newer->release();

    send(CCTOUCHBEGAN, touchAt(1, 1));
    EXPECT_EQ(log.events, (std::vector<std::string>{"urgent.began", "newer.began", "older.began"}));
}

TEST_F(TouchTest, ASwallowingClaimHidesTheTouchFromEveryoneAfter) {
    Handler* swallower = new Handler(&log, "swallower", true);
    Handler* later = new Handler(&log, "later", true);
    Handler* standard = new Handler(&log, "standard", false);
    dispatcher->addTargetedDelegate(swallower, 1, true);
    dispatcher->addTargetedDelegate(later, 2, true);
    dispatcher->addStandardDelegate(standard, 0);

    CCTouch* touch = touchAt(5, 5);
    send(CCTOUCHBEGAN, touch);
    send(CCTOUCHMOVED, touch);
    send(CCTOUCHENDED, touch);
    EXPECT_EQ(log.events,
              (std::vector<std::string>{"swallower.began", "swallower.moved", "swallower.ended"}));

    // Without swallowing, the claimer keeps the touch and the others still see it.
    dispatcher->removeAllDelegates();
    dispatcher->addTargetedDelegate(swallower, 1, false);
    dispatcher->addTargetedDelegate(later, 2, false);
    dispatcher->addStandardDelegate(standard, 0);
    log.clear();
    touch = touchAt(5, 5, 1);
    send(CCTOUCHBEGAN, touch);
    send(CCTOUCHENDED, touch);
    EXPECT_EQ(log.events,
              (std::vector<std::string>{"swallower.began", "later.began", "standard.touchesBegan1",
                                        "swallower.ended", "later.ended"}));
    swallower->release();
    later->release();
    standard->release();
}

TEST_F(TouchTest, ChangesDuringADispatchWaitForItsEnd) {
    Handler* first = new Handler(&log, "first", false);
    Handler* second = new Handler(&log, "second", false);
    Handler* added = new Handler(&log, "added", false);
    dispatcher->addTargetedDelegate(first, 0, true);
    dispatcher->addTargetedDelegate(second, 1, true);
    first->onBegan = [this, second, added]() {
        dispatcher->removeDelegate(second);
        dispatcher->addTargetedDelegate(added, -1, true);
    };
    first->release();
    second->release(); // only the dispatcher holds it: its removal must not free it mid-dispatch

    send(CCTOUCHBEGAN, touchAt(1, 1));
    EXPECT_EQ(log.events, std::vector<std::string>{"first.began"});
    EXPECT_EQ(dispatcher->targetedDelegateCount(), 2);

    first->onBegan = nullptr;
    log.clear();
    send(CCTOUCHBEGAN, touchAt(1, 1, 2));
    EXPECT_EQ(log.events, (std::vector<std::string>{"added.began", "first.began"}));
    dispatcher->removeAllDelegates();
    added->release();
}

TEST_F(TouchTest, MenuActivatesTheItemUnderTheTouchOnEnd) {
    Listener* listener = new Listener();
    CCMenu* menu = makeMenu(-1, true);
    CCMenuItem* left = makeItem(listener, 1, 100, 100);
    CCMenuItem* right = makeItem(listener, 2, 300, 100);
    menu->addChild(left);
    menu->addChild(right);
    scene->addChild(menu);
    EXPECT_TRUE(dispatcher->isRegistered(menu));

    CCTouch* touch = touchAt(120, 110);
    send(CCTOUCHBEGAN, touch);
    EXPECT_TRUE(left->isSelected());
    // Sliding onto the other item moves the selection.
    moveTo(touch, 290, 95);
    send(CCTOUCHMOVED, touch);
    EXPECT_FALSE(left->isSelected());
    EXPECT_TRUE(right->isSelected());
    send(CCTOUCHENDED, touch);
    EXPECT_FALSE(right->isSelected());
    EXPECT_EQ(listener->fired, std::vector<int>{2});

    // A touch between the items is not taken.
    touch = touchAt(200, 100);
    send(CCTOUCHBEGAN, touch);
    send(CCTOUCHENDED, touch);
    EXPECT_EQ(listener->fired, std::vector<int>{2});
    listener->release();
}

TEST_F(TouchTest, HiddenAncestorsDisabledItemsAndClearedSelectorsDoNothing) {
    Listener* listener = new Listener();
    CCNode* controls = CCNode::create();
    CCMenu* menu = makeMenu(-1, true);
    CCMenuItem* item = makeItem(listener, 1, 100, 100);
    menu->addChild(item);
    controls->addChild(menu);
    scene->addChild(controls);

    controls->setVisible(false);
    CCTouch* touch = touchAt(100, 100);
    send(CCTOUCHBEGAN, touch);
    send(CCTOUCHENDED, touch);
    EXPECT_TRUE(listener->fired.empty());

    controls->setVisible(true);
    item->setEnabled(false);
    touch = touchAt(100, 100, 1);
    send(CCTOUCHBEGAN, touch);
    send(CCTOUCHENDED, touch);
    EXPECT_TRUE(listener->fired.empty());

    // The listener stays but without a selector activate calls nothing.
    item->setEnabled(true);
    item->setTarget(listener, nullptr);
    touch = touchAt(100, 100, 2);
    send(CCTOUCHBEGAN, touch);
    EXPECT_TRUE(item->isSelected());
    send(CCTOUCHENDED, touch);
    EXPECT_TRUE(listener->fired.empty());

    item->setTarget(listener, menu_selector(Listener::pressed));
    touch = touchAt(100, 100, 3);
    send(CCTOUCHBEGAN, touch);
    send(CCTOUCHENDED, touch);
    EXPECT_EQ(listener->fired, std::vector<int>{1});
    listener->release();
}

TEST_F(TouchTest, HigherMenuTakesTheTouchAndCancelUnselects) {
    Listener* listener = new Listener();
    CCMenu* low = makeMenu(-1, true);
    CCMenu* high = makeMenu(-5, true);
    CCMenuItem* lowItem = makeItem(listener, 1, 100, 100);
    CCMenuItem* highItem = makeItem(listener, 5, 100, 100);
    low->addChild(lowItem);
    high->addChild(highItem);
    scene->addChild(low, 1);
    scene->addChild(high, 5);

    CCTouch* touch = touchAt(100, 100);
    send(CCTOUCHBEGAN, touch);
    EXPECT_TRUE(highItem->isSelected());
    EXPECT_FALSE(lowItem->isSelected());
    send(CCTOUCHCANCELLED, touch);
    EXPECT_FALSE(highItem->isSelected());
    EXPECT_TRUE(listener->fired.empty());
    listener->release();
}

TEST_F(TouchTest, AButtonThatDestroysItsOwnScreenIsSafe) {
    Listener* listener = new Listener();
    CCLayer* screen = CCLayer::create();
    CCMenu* menu = makeMenu(-1, true);
    menu->addChild(makeItem(listener, 1, 100, 100));
    screen->addChild(menu);
    scene->addChild(screen);
    Handler* behind = new Handler(&log, "behind", false);
    dispatcher->addTargetedDelegate(behind, 10, false);

    // The press removes the whole screen; the scene held its only reference.
    listener->onPress = [screen]() { screen->removeFromParent(); };
    CCTouch* touch = touchAt(100, 100);
    send(CCTOUCHBEGAN, touch);
    send(CCTOUCHENDED, touch);
    EXPECT_EQ(listener->fired, std::vector<int>{1});
    EXPECT_EQ(scene->getChildrenCount(), 0u);
    EXPECT_EQ(dispatcher->targetedDelegateCount(), 1);

    log.clear();
    send(CCTOUCHBEGAN, touchAt(100, 100, 1));
    EXPECT_EQ(log.events, std::vector<std::string>{"behind.began"});
    dispatcher->removeDelegate(behind);
    behind->release();
    listener->release();
}

TEST_F(TouchTest, MenuRegistersOnlyWhileRunningWithItsSwallowFlag) {
    CCMenu* menu = makeMenu(-3, false);
    EXPECT_FALSE(dispatcher->isRegistered(menu));
    scene->addChild(menu);
    EXPECT_TRUE(dispatcher->isRegistered(menu));
    EXPECT_FALSE(menu->isSwallowingTouches());
    menu->removeFromParent();
    EXPECT_FALSE(dispatcher->isRegistered(menu));
}

TEST_F(TouchTest, LayerTouchRegistrationFollowsTheStage) {
    CCLayer* layer = CCLayer::create();
    layer->setTouchEnabled(true);
    EXPECT_EQ(dispatcher->standardDelegateCount(), 0);
    scene->addChild(layer);
    EXPECT_EQ(dispatcher->standardDelegateCount(), 1);
    layer->setTouchMode(kCCTouchesOneByOne);
    EXPECT_EQ(dispatcher->standardDelegateCount(), 0);
    EXPECT_EQ(dispatcher->targetedDelegateCount(), 1);
    layer->removeFromParent();
    EXPECT_EQ(dispatcher->targetedDelegateCount(), 0);
}

TEST_F(TouchTest, MenuItemSpriteShowsOneImagePerState) {
    CCNodeRGBA* normal = CCNodeRGBA::create();
    CCNodeRGBA* selected = CCNodeRGBA::create();
    CCNodeRGBA* disabled = CCNodeRGBA::create();
    normal->setContentSize(CCSize(64.0f, 32.0f));
    CCMenuItemSprite* item = CCMenuItemSprite::create(normal, selected, disabled);
    EXPECT_EQ(item->getContentSize(), CCSize(64.0f, 32.0f));
    EXPECT_EQ(normal->getParent(), item);
    EXPECT_TRUE(normal->isVisible());
    EXPECT_FALSE(selected->isVisible());
    EXPECT_FALSE(disabled->isVisible());

    item->selected();
    EXPECT_FALSE(normal->isVisible());
    EXPECT_TRUE(selected->isVisible());
    item->unselected();
    item->setEnabled(false);
    EXPECT_TRUE(disabled->isVisible());
    EXPECT_FALSE(normal->isVisible());

    item->setOpacity(90);
    EXPECT_EQ(normal->getOpacity(), 90);
    EXPECT_EQ(disabled->getOpacity(), 90);

    // Re-initialising with new images replaces the old children; without a selected image the
    // normal one stays on show while selected.
    CCNodeRGBA* other = CCNodeRGBA::create();
    other->setContentSize(CCSize(10.0f, 10.0f));
    item->initWithNormalSprite(other, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(item->getChildrenCount(), 1u);
    EXPECT_EQ(item->getContentSize(), CCSize(10.0f, 10.0f));
    item->selected();
    EXPECT_TRUE(other->isVisible());
}

TEST_F(TouchTest, KeypadReachesEveryDelegateInOrderWithItsCodes) {
    CCKeypadDispatcher* keypad = director()->getKeypadDispatcher();
    KeyLogger* first = new KeyLogger(&log, "first");
    KeyLogger* second = new KeyLogger(&log, "second");
    keypad->addDelegate(first);
    keypad->addDelegate(second);
    keypad->addDelegate(first); // once only

    keypad->dispatchKeypadMSG(kTypeBackClicked);
    keypad->dispatchKeypadMSG(kTypeMenuClicked);
    keypad->dispatchKeyDown(21);
    keypad->dispatchKeyUp(100);
    EXPECT_EQ(log.events,
              (std::vector<std::string>{"first.back", "second.back", "first.menu", "second.menu",
                                        "first.down21", "second.down21", "first.up100", "second.up100"}));

    // Removal during a delivery: the removed delegate is skipped at once.
    first->onDown = [keypad, second]() { keypad->removeDelegate(second); };
    log.clear();
    keypad->dispatchKeyDown(4);
    EXPECT_EQ(log.events, std::vector<std::string>{"first.down4"});
    EXPECT_EQ(keypad->delegateCount(), 1);

    keypad->removeDelegate(first);
    EXPECT_FALSE(keypad->dispatchKeyDown(23));
    first->release();
    second->release();
}

TEST_F(TouchTest, LayerKeypadAndTiltWhileRunning) {
    TiltLayer* layer = new TiltLayer();
    layer->init();
    layer->autorelease();
    layer->setKeypadEnabled(true);
    layer->setAccelerometerEnabled(true);
    EXPECT_EQ(director()->getKeypadDispatcher()->delegateCount(), 0);
    scene->addChild(layer);
    EXPECT_EQ(director()->getKeypadDispatcher()->delegateCount(), 1);

    director()->getAccelerometer()->simulateAcceleration(0.5, -0.25, 1.0, 42.0);
    EXPECT_DOUBLE_EQ(layer->last.x, 0.5);
    EXPECT_DOUBLE_EQ(layer->last.y, -0.25);
    EXPECT_DOUBLE_EQ(layer->last.timestamp, 42.0);

    layer->removeFromParent();
    EXPECT_EQ(director()->getKeypadDispatcher()->delegateCount(), 0);
    EXPECT_EQ(director()->getAccelerometer()->getDelegate(), nullptr);
}
