// Receiver of the keypad events: back and menu, and raw key codes (4 back, 19 up, 20 down,
// 21 left, 22 right, 23 centre, 96, 97, 99, 100 face buttons).
#pragma once

#include "base/ccMacros.h"

NS_CC_BEGIN

class CCKeypadDelegate {
public:
    virtual ~CCKeypadDelegate() = default;

    virtual void keyBackClicked() {}
    virtual void keyMenuClicked() {}
    virtual void onKeyDown(int keyCode) { (void)keyCode; }
    virtual void onKeyUp(int keyCode) { (void)keyCode; }
};

NS_CC_END
