#include "base/CCAffineTransform.h"

#include <algorithm>

NS_CC_BEGIN

const CCAffineTransform CCAffineTransformIdentity = {1, 0, 0, 1, 0, 0};

CCAffineTransform CCAffineTransformMake(float a, float b, float c, float d, float tx, float ty) {
    return CCAffineTransform{a, b, c, d, tx, ty};
}

CCPoint CCPointApplyAffineTransform(const CCPoint& point, const CCAffineTransform& t) {
    return CCPoint(t.a * point.x + t.c * point.y + t.tx, t.b * point.x + t.d * point.y + t.ty);
}

CCSize CCSizeApplyAffineTransform(const CCSize& size, const CCAffineTransform& t) {
    return CCSize(t.a * size.width + t.c * size.height, t.b * size.width + t.d * size.height);
}

CCAffineTransform CCAffineTransformMakeIdentity() {
    return CCAffineTransformIdentity;
}

CCRect CCRectApplyAffineTransform(const CCRect& rect, const CCAffineTransform& anAffineTransform) {
    const CCPoint corners[4] = {
        CCPointApplyAffineTransform(CCPoint(rect.getMinX(), rect.getMinY()), anAffineTransform),
        CCPointApplyAffineTransform(CCPoint(rect.getMaxX(), rect.getMinY()), anAffineTransform),
        CCPointApplyAffineTransform(CCPoint(rect.getMinX(), rect.getMaxY()), anAffineTransform),
        CCPointApplyAffineTransform(CCPoint(rect.getMaxX(), rect.getMaxY()), anAffineTransform),
    };
    float minX = corners[0].x, maxX = corners[0].x, minY = corners[0].y, maxY = corners[0].y;
    for (const CCPoint& p : corners) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    return CCRect(minX, minY, maxX - minX, maxY - minY);
}

CCAffineTransform CCAffineTransformTranslate(const CCAffineTransform& t, float tx, float ty) {
    return CCAffineTransform{t.a, t.b, t.c, t.d, t.tx + t.a * tx + t.c * ty, t.ty + t.b * tx + t.d * ty};
}

CCAffineTransform CCAffineTransformRotate(const CCAffineTransform& t, float anAngle) {
    float sine = std::sin(anAngle);
    float cosine = std::cos(anAngle);
    return CCAffineTransform{t.a * cosine + t.c * sine,
                             t.b * cosine + t.d * sine,
                             t.c * cosine - t.a * sine,
                             t.d * cosine - t.b * sine,
                             t.tx,
                             t.ty};
}

CCAffineTransform CCAffineTransformScale(const CCAffineTransform& t, float sx, float sy) {
    return CCAffineTransform{t.a * sx, t.b * sx, t.c * sy, t.d * sy, t.tx, t.ty};
}

CCAffineTransform CCAffineTransformConcat(const CCAffineTransform& t1, const CCAffineTransform& t2) {
    return CCAffineTransform{t1.a * t2.a + t1.b * t2.c,           t1.a * t2.b + t1.b * t2.d,
                             t1.c * t2.a + t1.d * t2.c,           t1.c * t2.b + t1.d * t2.d,
                             t1.tx * t2.a + t1.ty * t2.c + t2.tx, t1.tx * t2.b + t1.ty * t2.d + t2.ty};
}

bool CCAffineTransformEqualToTransform(const CCAffineTransform& t1, const CCAffineTransform& t2) {
    return t1.a == t2.a && t1.b == t2.b && t1.c == t2.c && t1.d == t2.d && t1.tx == t2.tx && t1.ty == t2.ty;
}

CCAffineTransform CCAffineTransformInvert(const CCAffineTransform& t) {
    float determinant = t.a * t.d - t.b * t.c;
    if (determinant == 0.f || !std::isfinite(determinant))
        return t;
    float inv = 1.0f / determinant;
    return CCAffineTransform{inv * t.d,
                             -inv * t.b,
                             -inv * t.c,
                             inv * t.a,
                             inv * (t.c * t.ty - t.d * t.tx),
                             inv * (t.b * t.tx - t.a * t.ty)};
}

NS_CC_END
