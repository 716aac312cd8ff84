// A window-sized node that can receive touches, keypad events and tilt while it is running.
#pragma once

#include "input/CCAccelerometer.h"
#include "input/CCKeypadDelegate.h"
#include "input/CCTouchDelegateProtocol.h"
#include "nodes/CCNode.h"

NS_CC_BEGIN

typedef enum {
    kCCTouchesAllAtOnce = 0, // standard delegate: ccTouches* with sets
    kCCTouchesOneByOne = 1,  // targeted delegate: ccTouch* per touch, swallowing
} ccTouchesMode;

class CCLayer : public CCNode,
                public CCTouchDelegate,
                public CCAccelerometerDelegate,
                public CCKeypadDelegate {
public:
    CCLayer();
    ~CCLayer() override;

    static CCLayer* create();
    bool init() override;

    void onEnter() override;
    void onExit() override;
    void onEnterTransitionDidFinish() override;

    // Registers with the touch dispatcher per the touch mode and priority (called on onEnter).
    virtual void registerWithTouchDispatcher();

    virtual bool isTouchEnabled() { return m_bTouchEnabled; }
    virtual void setTouchEnabled(bool value);
    virtual void setTouchMode(ccTouchesMode mode);
    virtual int getTouchMode() { return m_eTouchMode; }
    virtual void setTouchPriority(int priority);
    virtual int getTouchPriority() { return m_nTouchPriority; }

    virtual bool isAccelerometerEnabled() { return m_bAccelerometerEnabled; }
    virtual void setAccelerometerEnabled(bool value);
    virtual void setAccelerometerInterval(double interval);

    virtual bool isKeypadEnabled() { return m_bKeypadEnabled; }
    virtual void setKeypadEnabled(bool value);

protected:
    // Whether the layer is currently registered for touches.
    void updateTouchRegistration();

    bool m_bTouchEnabled;
    bool m_bAccelerometerEnabled;
    bool m_bKeypadEnabled;
    ccTouchesMode m_eTouchMode;
    int m_nTouchPriority;
};

NS_CC_END
