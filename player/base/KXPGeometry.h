#pragma once

// Small plane-geometry helpers of the game field.

#include "cocos2d.h"

// The foot of the perpendicular from p to the line through a and b. The line is taken in
// slope-intercept form with a nudged by 0.00001 in x, as the stored levels were laid out with;
// a line still vertical after the nudge gives (a.x, p.y).
cocos2d::CCPoint projectPointOnLine(const cocos2d::CCPoint& a, const cocos2d::CCPoint& b,
                                    const cocos2d::CCPoint& p);
