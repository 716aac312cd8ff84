#include "player/field/KXPDeletionArea.h"

#include <algorithm>
#include <cmath>

using namespace cocos2d;

namespace {

constexpr float kRadiansPerDegree = 0.017453292f;
constexpr float kHalfPi = 1.5707963f;
// Half extents never below this: a rectangle without width or height still crosses the edges
// (a test line of no length meets nothing, and the object would stay for ever).
constexpr float kMinimumHalfExtent = 0.5f;

} // namespace

KXPDeletionArea::KXPDeletionArea(float gameplayAngleDegrees, const CCSize& window, float sidesThreshold,
                                 float backThreshold, const CCPoint& layerOffset)
    : m_sidesOn(sidesThreshold != -1.0f), m_backOn(backThreshold != -1.0f),
      m_turn(-(gameplayAngleDegrees * kRadiansPerDegree)) {
    const float sides = m_sidesOn ? sidesThreshold : kDefaultSides;
    const float back = m_backOn ? backThreshold : kDefaultBack;
    const CCPoint centre(window.width * 0.5f, window.height * 0.5f);
    const float x = back + window.width * 0.5f;
    const float y = sides + window.height * 0.5f;
    const CCPoint turned[4] = {
        ccpRotateByAngle(CCPoint(centre.x + x, centre.y - y), centre, m_turn),
        ccpRotateByAngle(CCPoint(centre.x - x, centre.y - y), centre, m_turn),
        ccpRotateByAngle(CCPoint(centre.x - x, centre.y + y), centre, m_turn),
        ccpRotateByAngle(CCPoint(centre.x + x, centre.y + y), centre, m_turn),
    };
    // The box around the turned rectangle, turned once more: the area the tests use.
    float minX = turned[0].x;
    float maxX = turned[0].x;
    float minY = turned[0].y;
    float maxY = turned[0].y;
    for (const CCPoint& point : turned) {
        minX = std::min(minX, point.x);
        maxX = std::max(maxX, point.x);
        minY = std::min(minY, point.y);
        maxY = std::max(maxY, point.y);
    }
    const CCPoint box[4] = {CCPoint(maxX, minY), CCPoint(minX, minY), CCPoint(minX, maxY),
                            CCPoint(maxX, maxY)};
    for (int index = 0; index < 4; ++index) {
        m_corners[index] = ccpRotateByAngle(box[index], centre, m_turn) - layerOffset;
    }
}

bool KXPDeletionArea::isLeftBehind(const CCRect& rect) const {
    const CCPoint middle(rect.getMidX(), rect.getMidY());
    const float halfWidth = std::max(std::fabs(rect.size.width) * 0.5f, kMinimumHalfExtent);
    const float halfHeight = std::max(std::fabs(rect.size.height) * 0.5f, kMinimumHalfExtent);
    // Edges 0 and 2 are beside the view, edge 1 behind it; the edge ahead is never tested.
    for (int edge = 0; edge < 3; ++edge) {
        const bool on = edge == 1 ? m_backOn : m_sidesOn;
        if (!on) {
            continue;
        }
        // A line through the rectangle across the edge: S > 1 puts the edge beyond its far side.
        const float theta = m_turn - kHalfPi - static_cast<float>(edge) * kHalfPi;
        const CCPoint reach(std::cos(theta) * halfWidth, std::sin(theta) * halfHeight);
        float s = 0.0f;
        float t = 0.0f;
        if (ccpLineIntersect(middle + reach, middle - reach, m_corners[edge], m_corners[edge + 1], &s, &t) &&
            s > 1.0f) {
            return true;
        }
    }
    return false;
}
