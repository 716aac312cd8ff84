// Tilt input. The desktop has no sensor: values arrive only through simulateAcceleration.
#pragma once

#include "base/CCObject.h"

NS_CC_BEGIN

struct CCAcceleration {
    double x = 0;
    double y = 0;
    double z = 0;
    double timestamp = 0;
};

class CCAccelerometerDelegate {
public:
    virtual ~CCAccelerometerDelegate() = default;
    virtual void didAccelerate(CCAcceleration* pAccelerationValue) { (void)pAccelerationValue; }
};

class CCAccelerometer {
public:
    CCAccelerometer() = default;

    // One delegate at a time, not retained; null detaches.
    void setDelegate(CCAccelerometerDelegate* pDelegate) { m_pDelegate = pDelegate; }
    CCAccelerometerDelegate* getDelegate() const { return m_pDelegate; }
    void setAccelerometerInterval(float interval) { m_interval = interval; }
    float getAccelerometerInterval() const { return m_interval; }

    // Delivers one reading to the delegate (tests, or a desktop stand-in for a sensor).
    void simulateAcceleration(double x, double y, double z, double timestamp);

private:
    CCAccelerometerDelegate* m_pDelegate = nullptr;
    float m_interval = 1.0f / 60.0f;
};

NS_CC_END
