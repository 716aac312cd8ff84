#include "input/CCTouch.h"

#include "director/CCDirector.h"

NS_CC_BEGIN

CCPoint CCTouch::getLocation() const {
    return CCDirector::sharedDirector()->convertToGL(m_point);
}

CCPoint CCTouch::getPreviousLocation() const {
    return CCDirector::sharedDirector()->convertToGL(m_prevPoint);
}

CCPoint CCTouch::getStartLocation() const {
    return CCDirector::sharedDirector()->convertToGL(m_startPoint);
}

CCPoint CCTouch::getDelta() const {
    return getLocation() - getPreviousLocation();
}

void CCTouch::setTouchInfo(int id, float x, float y) {
    m_id = id;
    m_prevPoint = m_point;
    m_point = CCPoint(x, y);
    if (!m_startPointCaptured) {
        m_startPoint = m_point;
        m_prevPoint = m_point;
        m_startPointCaptured = true;
    }
}

NS_CC_END
