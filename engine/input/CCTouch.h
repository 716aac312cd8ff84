// One finger (or the mouse). Positions are kept in view coordinates: design units, y down.
#pragma once

#include "base/CCGeometry.h"
#include "base/CCObject.h"

NS_CC_BEGIN

class CCTouch : public CCObject {
public:
    CCTouch() = default;

    // Scene coordinates (y up).
    CCPoint getLocation() const;
    CCPoint getPreviousLocation() const;
    CCPoint getStartLocation() const;
    // Location minus previous location, in scene coordinates.
    CCPoint getDelta() const;

    CCPoint getLocationInView() const { return m_point; }
    CCPoint getPreviousLocationInView() const { return m_prevPoint; }
    CCPoint getStartLocationInView() const { return m_startPoint; }

    // The first call after construction sets the start point too.
    void setTouchInfo(int id, float x, float y);
    int getID() const { return m_id; }

private:
    int m_id = 0;
    bool m_startPointCaptured = false;
    CCPoint m_startPoint;
    CCPoint m_point;
    CCPoint m_prevPoint;
};

// Carried along with touches; holds nothing.
class CCEvent : public CCObject {};

NS_CC_END
