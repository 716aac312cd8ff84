#include "input/CCAccelerometer.h"

NS_CC_BEGIN

void CCAccelerometer::simulateAcceleration(double x, double y, double z, double timestamp) {
    if (!m_pDelegate) {
        return;
    }
    CCAcceleration value;
    value.x = x;
    value.y = y;
    value.z = z;
    value.timestamp = timestamp;
    m_pDelegate->didAccelerate(&value);
}

NS_CC_END
