#include "player/base/KXPGeometry.h"

#include <cmath>

using namespace cocos2d;

CCPoint projectPointOnLine(const CCPoint& a, const CCPoint& b, const CCPoint& p) {
    // In double: in float the nudge vanishes beside an x of a few hundred and a vertical line
    // would divide by zero.
    const double ax = static_cast<double>(a.x) + 0.00001;
    const double run = static_cast<double>(b.x) - ax;
    const double m = (static_cast<double>(b.y) - a.y) / run;
    if (run == 0.0 || !std::isfinite(m)) {
        return CCPoint(a.x, p.y);
    }
    const double k = a.y - m * ax;
    const double m2 = m * m + 1.0;
    return CCPoint(static_cast<float>((p.y * m + p.x - k * m) / m2),
                   static_cast<float>((m * m * p.y + p.x * m + k) / m2));
}
