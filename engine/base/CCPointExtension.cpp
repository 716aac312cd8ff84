#include "base/CCPointExtension.h"

#include <algorithm>
#include <cfloat>

NS_CC_BEGIN

float ccpLength(const CCPoint& v) {
    return v.getLength();
}

float ccpDistance(const CCPoint& v1, const CCPoint& v2) {
    return v1.getDistance(v2);
}

CCPoint ccpNormalize(const CCPoint& v) {
    return v.normalize();
}

CCPoint ccpForAngle(float a) {
    return CCPoint::forAngle(a);
}

float ccpToAngle(const CCPoint& v) {
    return v.getAngle();
}

float clampf(float value, float min_inclusive, float max_inclusive) {
    if (min_inclusive > max_inclusive)
        std::swap(min_inclusive, max_inclusive);
    return value < min_inclusive ? min_inclusive : value < max_inclusive ? value : max_inclusive;
}

CCPoint ccpClamp(const CCPoint& p, const CCPoint& min_inclusive, const CCPoint& max_inclusive) {
    return CCPoint(clampf(p.x, min_inclusive.x, max_inclusive.x),
                   clampf(p.y, min_inclusive.y, max_inclusive.y));
}

CCPoint ccpFromSize(const CCSize& s) {
    return CCPoint(s);
}

CCPoint ccpLerp(const CCPoint& a, const CCPoint& b, float alpha) {
    return a.lerp(b, alpha);
}

bool ccpFuzzyEqual(const CCPoint& a, const CCPoint& b, float variance) {
    return a.fuzzyEquals(b, variance);
}

CCPoint ccpCompMult(const CCPoint& a, const CCPoint& b) {
    return CCPoint(a.x * b.x, a.y * b.y);
}

float ccpAngleSigned(const CCPoint& a, const CCPoint& b) {
    return a.getAngle(b);
}

float ccpAngle(const CCPoint& a, const CCPoint& b) {
    float cosine = clampf(ccpDot(a.normalize(), b.normalize()), -1.f, 1.f);
    float angle = std::acos(cosine);
    if (std::fabs(angle) < FLT_EPSILON)
        return 0.f;
    return angle;
}

CCPoint ccpRotateByAngle(const CCPoint& v, const CCPoint& pivot, float angle) {
    return v.rotateByAngle(pivot, angle);
}

bool ccpLineIntersect(const CCPoint& A, const CCPoint& B, const CCPoint& C, const CCPoint& D, float* S,
                      float* T) {
    // Degenerate lines (a point) never intersect.
    if ((A.x == B.x && A.y == B.y) || (C.x == D.x && C.y == D.y))
        return false;
    const float BAx = B.x - A.x;
    const float BAy = B.y - A.y;
    const float DCx = D.x - C.x;
    const float DCy = D.y - C.y;
    const float ACx = A.x - C.x;
    const float ACy = A.y - C.y;
    const float denom = DCy * BAx - DCx * BAy;
    if (denom == 0.f)
        return false; // parallel or collinear
    if (S)
        *S = (DCx * ACy - DCy * ACx) / denom;
    if (T)
        *T = (BAx * ACy - BAy * ACx) / denom;
    return true;
}

bool ccpSegmentIntersect(const CCPoint& A, const CCPoint& B, const CCPoint& C, const CCPoint& D) {
    float S = 0, T = 0;
    return ccpLineIntersect(A, B, C, D, &S, &T) && S >= 0.f && S <= 1.f && T >= 0.f && T <= 1.f;
}

CCPoint ccpIntersectPoint(const CCPoint& A, const CCPoint& B, const CCPoint& C, const CCPoint& D) {
    float S = 0, T = 0;
    if (ccpLineIntersect(A, B, C, D, &S, &T))
        return CCPoint(A.x + S * (B.x - A.x), A.y + S * (B.y - A.y));
    return CCPointZero;
}

NS_CC_END
