#pragma once

// An invisible touch area of a screen (the model's "Scale" x 100 points, centred on its
// "Position") that reads quick swipes: a touch that travels more than 30 points within half a
// second sends one swipe, left, right, up or down, as input events 13 to 16 with the control as
// sender. Components that react to swipes find the control's model in its user object.

#include "cocos2d.h"

#include <memory>

class KXModelObjectSwipeControl;

class KXPObjectSwipeControl : public cocos2d::CCNode, public cocos2d::CCTouchDelegate {
public:
    // Directions, as sendSwipe takes them; the event id is 12 + direction.
    enum Direction { kSwipeLeft = 1, kSwipeRight = 2, kSwipeUp = 3, kSwipeDown = 4 };

    // Autoreleased.
    static KXPObjectSwipeControl* create(const std::shared_ptr<KXModelObjectSwipeControl>& model);

    // Joins the touch dispatcher at once (see KXPTouchControl.h).
    explicit KXPObjectSwipeControl(const std::shared_ptr<KXModelObjectSwipeControl>& model);
    ~KXPObjectSwipeControl() override;

    // Places the node at the model's "Position" and carries the model as the user object; an
    // empty model puts it at the origin without one.
    void setModel(const std::shared_ptr<KXModelObjectSwipeControl>& model);
    std::shared_ptr<KXModelObjectSwipeControl> getModel() const { return m_model; }

    // The area that takes touches, in node coordinates.
    cocos2d::CCRect touchArea() const;
    bool isSwipeUnderWay() const { return m_swipeUnderWay; }

    // Ends the swipe under way and sends event 12 + direction through the input controller.
    void sendSwipe(int direction);

    void onEnter() override;
    void onExit() override;

    bool ccTouchBegan(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    void ccTouchMoved(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    void ccTouchEnded(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    // A lost touch ends the swipe as a lifted finger does.
    void ccTouchCancelled(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;

private:
    void resetSwipe();

    std::shared_ptr<KXModelObjectSwipeControl> m_model;
    // Where and when the swipe under way began, in view coordinates (y down).
    cocos2d::CCPoint m_swipeStart;
    double m_swipeStartTime = 0.0;
    bool m_swipeUnderWay = false;
};
