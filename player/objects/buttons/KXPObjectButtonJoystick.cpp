#include "player/objects/buttons/KXPObjectButtonJoystick.h"

#include "model/KXDebugLog.h"
#include "model/classes/KXModelObjectManipulator.h"
#include "player/input/KXPInputController.h"
#include "player/objects/controls/KXPTouchControl.h"

#include <cmath>

using namespace cocos2d;

namespace {

constexpr float kRadiansPerDegree = 0.01745329f;
// A drag's points to the characters: the offset style gives a direction, the absolute style a move.
constexpr float kOffsetFactor = 0.01f;
constexpr float kAbsoluteFactor = 0.1f;

} // namespace

KXPObjectButtonJoystick*
KXPObjectButtonJoystick::create(const std::shared_ptr<KXModelObjectManipulator>& model) {
    if (!model) {
        return nullptr;
    }
    auto* joystick = new KXPObjectButtonJoystick();
    joystick->setModel(model);
    joystick->autorelease();
    return joystick;
}

KXPObjectButtonJoystick::KXPObjectButtonJoystick() {
    attachTouchControl(this);
}

// The dispatcher held the joystick while it was registered, so it has left it by now.
KXPObjectButtonJoystick::~KXPObjectButtonJoystick() = default;

void KXPObjectButtonJoystick::setModel(const std::shared_ptr<KXModelObjectManipulator>& model) {
    KXPObjectManipulator::setModel(model);
    if (m_model) {
        setPosition(m_model->animatedPosition(0.0f, 0));
    }
}

CCRect KXPObjectButtonJoystick::touchArea() const {
    if (!m_model) {
        return CCRectZero;
    }
    return centredTouchArea(m_model->animatedScale(0.0f, 0));
}

void KXPObjectButtonJoystick::onEnter() {
    KXPObjectManipulator::onEnter();
    attachTouchControl(this);
}

void KXPObjectButtonJoystick::onExit() {
    if (m_dragging) {
        stop();
    }
    detachTouchControl(this);
    KXPObjectManipulator::onExit();
}

bool KXPObjectButtonJoystick::ccTouchBegan(CCTouch* touch, CCEvent*) {
    const CCPoint location = convertTouchToNodeSpace(touch);
    debugLog("location :%f %f ", location.x, location.y);
    if (!touchArea().containsPoint(location)) {
        return false;
    }
    m_touchStart = touch->getLocationInView();
    m_dragging = true;
    return true;
}

void KXPObjectButtonJoystick::ccTouchMoved(CCTouch* touch, CCEvent*) {
    if (!m_model) {
        return;
    }
    const CCPoint from = m_absolute ? touch->getPreviousLocationInView() : m_touchStart;
    CCPoint drag = touch->getLocationInView() - from;
    // The view's y grows downward; the scene's upward. The model's rotation turns the drag.
    drag.y = -drag.y;
    drag = ccpRotateByAngle(drag, CCPointZero, m_model->animatedRotation(0.0f, 0) * kRadiansPerDegree);

    KXPInputController* input = KXPInputController::existing();
    if (input == nullptr) {
        return;
    }
    const float factor = sensitivity();
    if (m_absolute) {
        input->setJoystickAxes(factor * drag.x * kAbsoluteFactor, factor * drag.y * kAbsoluteFactor);
    } else {
        input->sendDirection(drag * (factor * kOffsetFactor));
    }
}

void KXPObjectButtonJoystick::ccTouchEnded(CCTouch*, CCEvent*) {
    stop();
}

void KXPObjectButtonJoystick::ccTouchCancelled(CCTouch*, CCEvent*) {
    stop();
}

void KXPObjectButtonJoystick::stop() {
    m_dragging = false;
    if (KXPInputController* input = KXPInputController::existing()) {
        input->sendDirection(CCPointZero);
    }
}
