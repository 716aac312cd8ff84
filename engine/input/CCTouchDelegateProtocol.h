// Receivers of touches. Targeted delegates claim single touches in ccTouchBegan; standard
// delegates get every unclaimed touch as a set.
#pragma once

#include "base/CCSet.h"
#include "input/CCTouch.h"

NS_CC_BEGIN

class CCTouchDelegate {
public:
    virtual ~CCTouchDelegate() = default;

    // Return true to claim the touch: its moved, ended and cancelled events then come here.
    virtual bool ccTouchBegan(CCTouch* pTouch, CCEvent* pEvent) {
        (void)pTouch, (void)pEvent;
        return false;
    }
    virtual void ccTouchMoved(CCTouch* pTouch, CCEvent* pEvent) { (void)pTouch, (void)pEvent; }
    virtual void ccTouchEnded(CCTouch* pTouch, CCEvent* pEvent) { (void)pTouch, (void)pEvent; }
    virtual void ccTouchCancelled(CCTouch* pTouch, CCEvent* pEvent) { (void)pTouch, (void)pEvent; }

    virtual void ccTouchesBegan(CCSet* pTouches, CCEvent* pEvent) { (void)pTouches, (void)pEvent; }
    virtual void ccTouchesMoved(CCSet* pTouches, CCEvent* pEvent) { (void)pTouches, (void)pEvent; }
    virtual void ccTouchesEnded(CCSet* pTouches, CCEvent* pEvent) { (void)pTouches, (void)pEvent; }
    virtual void ccTouchesCancelled(CCSet* pTouches, CCEvent* pEvent) { (void)pTouches, (void)pEvent; }
};

NS_CC_END
