// 2D affine transforms: x' = a*x + c*y + tx, y' = b*x + d*y + ty.
#pragma once

#include "base/CCGeometry.h"

NS_CC_BEGIN

struct CCAffineTransform {
    float a, b, c, d;
    float tx, ty;
};

CCAffineTransform CCAffineTransformMake(float a, float b, float c, float d, float tx, float ty);
CCPoint CCPointApplyAffineTransform(const CCPoint& point, const CCAffineTransform& t);

// Applies the linear part only (sizes do not move).
CCSize CCSizeApplyAffineTransform(const CCSize& size, const CCAffineTransform& t);

CCAffineTransform CCAffineTransformMakeIdentity();
// Bounding box of the transformed rectangle's four corners.
CCRect CCRectApplyAffineTransform(const CCRect& rect, const CCAffineTransform& anAffineTransform);

// Each of these composes the new step BEFORE t: the result maps p to t(step(p)).
CCAffineTransform CCAffineTransformTranslate(const CCAffineTransform& t, float tx, float ty);
// anAngle in radians, counter-clockwise.
CCAffineTransform CCAffineTransformRotate(const CCAffineTransform& aTransform, float anAngle);
CCAffineTransform CCAffineTransformScale(const CCAffineTransform& t, float sx, float sy);
// t1 is applied first, then t2.
CCAffineTransform CCAffineTransformConcat(const CCAffineTransform& t1, const CCAffineTransform& t2);
bool CCAffineTransformEqualToTransform(const CCAffineTransform& t1, const CCAffineTransform& t2);
// A singular transform gives itself back unchanged.
CCAffineTransform CCAffineTransformInvert(const CCAffineTransform& t);

extern const CCAffineTransform CCAffineTransformIdentity;

NS_CC_END
