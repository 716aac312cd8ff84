#pragma once

// The on-screen joystick: a touch area (the model's "Scale" x 100 points, centred on its
// "Position") whose drags steer the characters. In the offset style the drag's offset from
// where the touch began becomes every live character's direction; in the absolute style each
// movement of the finger moves the characters by that much. Lifting the finger, or losing the
// touch, stops them.

#include "player/objects/controls/KXPObjectManipulator.h"

class KXPObjectButtonJoystick : public KXPObjectManipulator, public cocos2d::CCTouchDelegate {
public:
    // Autoreleased; null for an empty model.
    static KXPObjectButtonJoystick* create(const std::shared_ptr<KXModelObjectManipulator>& model);

    // Joins the touch dispatcher at once (see KXPTouchControl.h).
    KXPObjectButtonJoystick();
    ~KXPObjectButtonJoystick() override;

    // Also places the node at the model's "Position".
    void setModel(const std::shared_ptr<KXModelObjectManipulator>& model) override;

    // The area that takes touches, in node coordinates.
    cocos2d::CCRect touchArea() const;
    // A touch claimed and not yet ended.
    bool isDragging() const { return m_dragging; }

    void onEnter() override;
    void onExit() override;

    bool ccTouchBegan(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    void ccTouchMoved(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    void ccTouchEnded(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    // A lost touch stops the characters as a lifted finger does.
    void ccTouchCancelled(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;

private:
    void stop();

    // Where the touch began, in view coordinates (y down).
    cocos2d::CCPoint m_touchStart;
    bool m_dragging = false;
};
