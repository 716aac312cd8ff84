// The input controller's listener lists: presses and releases reach the listeners of their
// action, filtered by the sender's model; dispatch compares source ids; unsubscribing and the
// enabled switch.

#include "model/KXDebugLog.h"
#include "model/classes/KXModelObjectButtonControl.h"
#include "model/classes/KXModelQueries.h"
#include "player/input/KXPInputController.h"
#include "player/objects/KXObjectModelHolder.h"
#include "support/model_test_models.h"
#include "support/scene_test_support.h"

#include "cocos2d.h"

#include <gtest/gtest.h>

#include <string>

using namespace cocos2d;

namespace {

class Listener : public CCObject {
public:
    Listener(kxtest::EventLog& log, std::string name) : m_log(log), m_name(std::move(name)) {}
    void heard(CCObject* sender) {
        const std::shared_ptr<KXModel> model = KXObjectModelHolder::modelOf(sender);
        m_log.add(m_name + ":" + (model ? model->name() : std::string("-")));
        if (onHeard) {
            onHeard();
        }
    }
    std::function<void()> onHeard;

private:
    kxtest::EventLog& m_log;
    std::string m_name;
};

class InputListeners : public kxtest::SceneTest {
protected:
    KXPInputController* input = nullptr;

    void SetUp() override {
        kxtest::SceneTest::SetUp();
        resetModelCore();
        input = KXPInputController::shared();
    }
    void TearDown() override {
        KXPInputController::purgeShared();
        resetModelCore();
        kxtest::SceneTest::TearDown();
    }

    // A control node that carries a model of its own, as buttons and swipe controls do.
    static CCNode* control(const std::string& name) {
        auto model = createModel<KXModelObjectButtonControl>();
        model->setName(name);
        CCNode* node = CCNode::create();
        node->setUserObject(KXObjectModelHolder::create(model));
        return node;
    }
    static int idOf(CCNode* node) { return static_cast<int>(KXObjectModelHolder::modelOf(node)->id()); }
};

TEST_F(InputListeners, PressesReachTheListenersOfTheirSenderOrOfAnySender) {
    Listener any(log, "any");
    Listener bound(log, "bound");
    CCNode* left = control("Left Pad");
    CCNode* right = control("Right Pad");
    input->subscribe(KXPInputController::kActionButtonOn, &any, callfuncO_selector(Listener::heard), 0);
    input->subscribe(KXPInputController::kActionButtonOn, &bound, callfuncO_selector(Listener::heard),
                     idOf(left));

    input->actionPressed(KXPInputController::kActionButtonOn, left);
    input->actionPressed(KXPInputController::kActionButtonOn, right);
    input->actionPressed(KXPInputController::kActionButtonOn, nullptr);
    input->actionReleased(KXPInputController::kActionButtonOff, left); // nobody listens to 12
    EXPECT_EQ(log.events, (std::vector<std::string>{"any:Left Pad", "bound:Left Pad", "any:Right Pad",
                                                    "any:-", "bound:-"}));

    // Dispatch compares the given source with the listener's.
    log.clear();
    input->dispatch(right, KXPInputController::kActionButtonOn, idOf(right));
    input->dispatch(right, KXPInputController::kActionButtonOn, 0);
    EXPECT_EQ(log.events, (std::vector<std::string>{"any:Right Pad", "any:Right Pad", "bound:Right Pad"}));

    // A disabled controller passes nothing on.
    log.clear();
    input->setEnabled(false);
    input->actionPressed(KXPInputController::kActionButtonOn, left);
    EXPECT_TRUE(log.events.empty());
}

TEST_F(InputListeners, ListenersMayUnsubscribeWhileTheyAreCalled) {
    Listener first(log, "first");
    Listener second(log, "second");
    first.onHeard = [&] { input->unsubscribe(&second); };
    for (int action : {KXPInputController::kActionSwipeLeft, KXPInputController::kActionSwipeUp}) {
        input->subscribe(action, &first, callfuncO_selector(Listener::heard), 0);
        input->subscribe(action, &second, callfuncO_selector(Listener::heard), 0);
    }

    KXDebugLogCapture capture;
    input->dispatch(nullptr, KXPInputController::kActionSwipeLeft, 0);
    // The walk is on a copy: the second listener still hears this one.
    EXPECT_EQ(log.events, (std::vector<std::string>{"first:-", "second:-"}));
    EXPECT_EQ(capture.lines(), (std::vector<std::string>{"action unsubscribed", "action unsubscribed"}));

    log.clear();
    first.onHeard = nullptr;
    input->dispatch(nullptr, KXPInputController::kActionSwipeUp, 0);
    EXPECT_EQ(log.events, std::vector<std::string>{"first:-"});
    input->unsubscribe(&first);
    input->dispatch(nullptr, KXPInputController::kActionSwipeUp, 0);
    EXPECT_EQ(log.events.size(), 1u);
}

} // namespace
