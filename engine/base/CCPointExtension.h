// Free vector helpers on CCPoint.
#pragma once

#include "base/CCGeometry.h"

NS_CC_BEGIN

inline CCPoint ccpNeg(const CCPoint& v) {
    return -v;
}
inline CCPoint ccpAdd(const CCPoint& v1, const CCPoint& v2) {
    return v1 + v2;
}
inline CCPoint ccpSub(const CCPoint& v1, const CCPoint& v2) {
    return v1 - v2;
}
inline CCPoint ccpMult(const CCPoint& v, float s) {
    return v * s;
}
inline CCPoint ccpMidpoint(const CCPoint& v1, const CCPoint& v2) {
    return (v1 + v2) * 0.5f;
}
inline float ccpDot(const CCPoint& v1, const CCPoint& v2) {
    return v1.dot(v2);
}
inline float ccpCross(const CCPoint& v1, const CCPoint& v2) {
    return v1.cross(v2);
}
inline CCPoint ccpPerp(const CCPoint& v) {
    return v.getPerp();
}
inline CCPoint ccpRPerp(const CCPoint& v) {
    return v.getRPerp();
}
inline CCPoint ccpProject(const CCPoint& v1, const CCPoint& v2) {
    return v2 * (v1.dot(v2) / v2.dot(v2));
}
inline CCPoint ccpRotate(const CCPoint& v1, const CCPoint& v2) {
    return v1.rotate(v2);
}
inline CCPoint ccpUnrotate(const CCPoint& v1, const CCPoint& v2) {
    return v1.unrotate(v2);
}
inline float ccpLengthSQ(const CCPoint& v) {
    return v.getLengthSq();
}
inline float ccpDistanceSQ(const CCPoint& p1, const CCPoint& p2) {
    return p1.getDistanceSq(p2);
}
float ccpLength(const CCPoint& v);
float ccpDistance(const CCPoint& v1, const CCPoint& v2);
CCPoint ccpNormalize(const CCPoint& v);
CCPoint ccpForAngle(float a);
float ccpToAngle(const CCPoint& v);

float clampf(float value, float min_inclusive, float max_inclusive);
CCPoint ccpClamp(const CCPoint& p, const CCPoint& min_inclusive, const CCPoint& max_inclusive);
CCPoint ccpFromSize(const CCSize& s);
// a at alpha 0, b at alpha 1.
CCPoint ccpLerp(const CCPoint& a, const CCPoint& b, float alpha);
bool ccpFuzzyEqual(const CCPoint& a, const CCPoint& b, float variance);
CCPoint ccpCompMult(const CCPoint& a, const CCPoint& b);
// Signed angle from a to b in radians.
float ccpAngleSigned(const CCPoint& a, const CCPoint& b);
float ccpAngle(const CCPoint& a, const CCPoint& b);
CCPoint ccpRotateByAngle(const CCPoint& v, const CCPoint& pivot, float angle);

// Lines A-B and C-D meet at A + S*(B-A) = C + T*(D-C). False when parallel or degenerate.
bool ccpLineIntersect(const CCPoint& A, const CCPoint& B, const CCPoint& C, const CCPoint& D, float* S,
                      float* T);
// Segments A-B and C-D share a point.
bool ccpSegmentIntersect(const CCPoint& A, const CCPoint& B, const CCPoint& C, const CCPoint& D);
// Intersection point of the two lines; zero when they do not meet.
CCPoint ccpIntersectPoint(const CCPoint& A, const CCPoint& B, const CCPoint& C, const CCPoint& D);

NS_CC_END
