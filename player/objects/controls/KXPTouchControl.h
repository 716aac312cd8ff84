#pragma once

// How the screen's touch controls (joystick, swipe area) sit in the touch dispatcher: each joins
// when it is made, so that controls of equal priority keep the order in which the screen made
// them, leaves when it leaves the stage, and joins again if it comes back. The dispatcher holds
// what it calls, so a control must leave it before it can go, and one that is off the stage
// takes no touches.

#include "cocos2d.h"

// Priority 0, swallowing the touches the control claims. Joining twice changes nothing.
void attachTouchControl(cocos2d::CCTouchDelegate* control);
void detachTouchControl(cocos2d::CCTouchDelegate* control);

// The area a control takes touches over, centred on it: 100 points per unit of its scale on each
// side; a mirrored control (negative scale) takes the same area.
cocos2d::CCRect centredTouchArea(const cocos2d::CCPoint& scale);
