#include "player/objects/controls/KXPObjectSwipeControl.h"

#include "model/classes/KXModelObjectSwipeControl.h"
#include "player/base/KXPClock.h"
#include "player/input/KXPInputController.h"
#include "player/objects/KXObjectModelHolder.h"
#include "player/objects/controls/KXPTouchControl.h"

#include <cmath>

using namespace cocos2d;

namespace {

// A swipe travels further than this, in points, within the time limit.
constexpr float kSwipeDistance = 30.0f;
constexpr double kSwipeSeconds = 0.5;
constexpr int kSwipeEventBase = KXPInputController::kActionSwipeLeft - KXPObjectSwipeControl::kSwipeLeft;

} // namespace

KXPObjectSwipeControl*
KXPObjectSwipeControl::create(const std::shared_ptr<KXModelObjectSwipeControl>& model) {
    auto* control = new KXPObjectSwipeControl(model);
    control->autorelease();
    return control;
}

KXPObjectSwipeControl::KXPObjectSwipeControl(const std::shared_ptr<KXModelObjectSwipeControl>& model) {
    init();
    setModel(model);
    attachTouchControl(this);
}

// The dispatcher held the control while it was registered, so it has left it by now.
KXPObjectSwipeControl::~KXPObjectSwipeControl() = default;

void KXPObjectSwipeControl::setModel(const std::shared_ptr<KXModelObjectSwipeControl>& model) {
    m_model = model;
    if (m_model) {
        setPosition(m_model->animatedPosition(0.0f, 0));
        setUserObject(KXObjectModelHolder::create(m_model));
    } else {
        setPosition(CCPointZero);
        setUserObject(nullptr);
    }
}

CCRect KXPObjectSwipeControl::touchArea() const {
    if (!m_model) {
        return CCRectZero;
    }
    return centredTouchArea(m_model->animatedScale(0.0f, 0));
}

void KXPObjectSwipeControl::onEnter() {
    CCNode::onEnter();
    attachTouchControl(this);
}

void KXPObjectSwipeControl::onExit() {
    resetSwipe();
    detachTouchControl(this);
    CCNode::onExit();
}

bool KXPObjectSwipeControl::ccTouchBegan(CCTouch* touch, CCEvent*) {
    if (!m_model || !touchArea().containsPoint(convertTouchToNodeSpace(touch))) {
        return false;
    }
    m_swipeStart = touch->getLocationInView();
    m_swipeStartTime = KXPClock::steadySeconds();
    m_swipeUnderWay = true;
    return true;
}

void KXPObjectSwipeControl::ccTouchMoved(CCTouch* touch, CCEvent*) {
    if (!m_swipeUnderWay) {
        return;
    }
    if (KXPClock::steadySeconds() - m_swipeStartTime >= kSwipeSeconds) {
        // Too slow: this touch sends nothing any more.
        resetSwipe();
        return;
    }
    // View coordinates: y grows downward.
    const CCPoint travel = touch->getLocationInView() - m_swipeStart;
    if (travel.x > kSwipeDistance) {
        sendSwipe(kSwipeRight);
    } else if (travel.x < -kSwipeDistance) {
        sendSwipe(kSwipeLeft);
    } else if (travel.y > kSwipeDistance) {
        sendSwipe(kSwipeDown);
    } else if (travel.y < -kSwipeDistance) {
        sendSwipe(kSwipeUp);
    }
}

void KXPObjectSwipeControl::ccTouchEnded(CCTouch*, CCEvent*) {
    resetSwipe();
}

void KXPObjectSwipeControl::ccTouchCancelled(CCTouch*, CCEvent*) {
    resetSwipe();
}

void KXPObjectSwipeControl::sendSwipe(int direction) {
    resetSwipe();
    KXPInputController* input = KXPInputController::existing();
    if (input == nullptr) {
        return;
    }
    // A listener may take the control off its screen.
    retain();
    input->dispatch(this, kSwipeEventBase + direction, 0);
    release();
}

void KXPObjectSwipeControl::resetSwipe() {
    m_swipeUnderWay = false;
    m_swipeStart = CCPointZero;
    m_swipeStartTime = 0.0;
}
