// Points, rectangles, vector helpers, affine transforms and their text forms.
#include <cmath>

#include <gtest/gtest.h>

#include "cocos2d.h"

USING_NS_CC;

namespace {

const float kPi = 3.14159265358979f;

void expectPointNear(const CCPoint& actual, float x, float y, float tolerance = 1e-5f) {
    EXPECT_NEAR(actual.x, x, tolerance);
    EXPECT_NEAR(actual.y, y, tolerance);
}

void expectRectNear(const CCRect& actual, float x, float y, float w, float h) {
    EXPECT_NEAR(actual.origin.x, x, 1e-5f);
    EXPECT_NEAR(actual.origin.y, y, 1e-5f);
    EXPECT_NEAR(actual.size.width, w, 1e-5f);
    EXPECT_NEAR(actual.size.height, h, 1e-5f);
}

} // namespace

TEST(PointTest, ArithmeticAndComparison) {
    CCPoint a(1, 2), b(3, -4);
    expectPointNear(a + b, 4, -2);
    expectPointNear(a - b, -2, 6);
    expectPointNear(a * 3, 3, 6);
    expectPointNear(-a, -1, -2);
    EXPECT_TRUE(a.equals(CCPoint(1, 2)));
    EXPECT_FALSE(a.equals(CCPoint(1, 2.001f)));
    EXPECT_TRUE(a.fuzzyEquals(CCPoint(1.1f, 1.9f), 0.11f));
    EXPECT_FALSE(a.fuzzyEquals(CCPoint(1.2f, 2), 0.11f));
    EXPECT_EQ(ccp(5, 6), CCPointMake(5, 6));
    EXPECT_EQ(CCPointZero, CCPoint(0, 0));
}

TEST(PointTest, LengthAngleAndRotation) {
    EXPECT_FLOAT_EQ(CCPoint(3, 4).getLength(), 5);
    expectPointNear(CCPoint(3, 4).normalize(), 0.6f, 0.8f);
    // The zero vector has no direction; it must not become NaN.
    expectPointNear(CCPointZero.normalize(), 1, 0);
    EXPECT_NEAR(CCPoint(0, 2).getAngle(), kPi / 2, 1e-6f);
    EXPECT_NEAR(CCPoint(-1, 0).getAngle(), kPi, 1e-6f);
    expectPointNear(CCPoint::forAngle(kPi / 2), 0, 1);
    // Counter-clockwise from (1,0) to (0,1) is +90 degrees; the other way is negative.
    EXPECT_NEAR(CCPoint(1, 0).getAngle(CCPoint(0, 1)), kPi / 2, 1e-6f);
    EXPECT_NEAR(CCPoint(0, 1).getAngle(CCPoint(1, 0)), -kPi / 2, 1e-6f);
    // rotate() multiplies as complex numbers: (1+2i)(0+1i) = -2+1i.
    expectPointNear(CCPoint(1, 2).rotate(CCPoint(0, 1)), -2, 1);
    // (2,1) around (1,1) by +90 degrees lands on (1,2).
    expectPointNear(CCPoint(2, 1).rotateByAngle(CCPoint(1, 1), kPi / 2), 1, 2);
    expectPointNear(ccpRotateByAngle(CCPoint(3, 1), CCPoint(1, 1), kPi), -1, 1);
}

TEST(PointHelpersTest, DistanceLerpClamp) {
    EXPECT_FLOAT_EQ(ccpDistance(ccp(1, 1), ccp(4, 5)), 5);
    EXPECT_FLOAT_EQ(ccpLength(ccp(-6, 8)), 10);
    expectPointNear(ccpLerp(ccp(0, 0), ccp(10, 20), 0.25f), 2.5f, 5);
    expectPointNear(ccpLerp(ccp(2, 2), ccp(4, 8), 1), 4, 8);
    expectPointNear(ccpAdd(ccp(1, 2), ccp(3, 4)), 4, 6);
    expectPointNear(ccpSub(ccp(1, 2), ccp(3, 4)), -2, -2);
    expectPointNear(ccpMult(ccp(1, -2), 2.5f), 2.5f, -5);
    EXPECT_FLOAT_EQ(ccpDot(ccp(1, 2), ccp(3, 4)), 11);
    expectPointNear(ccpNormalize(ccp(0, -5)), 0, -1);
    EXPECT_FLOAT_EQ(clampf(5, 0, 3), 3);
    EXPECT_FLOAT_EQ(clampf(-1, 0, 3), 0);
    EXPECT_FLOAT_EQ(clampf(2, 0, 3), 2);
    // Bounds given the wrong way round still clamp into the interval.
    EXPECT_FLOAT_EQ(clampf(5, 3, 0), 3);
}

TEST(PointHelpersTest, LineIntersection) {
    float s = -1, t = -1;
    // The diagonals of the square (0,0)-(2,2) cross at their midpoints.
    ASSERT_TRUE(ccpLineIntersect(ccp(0, 0), ccp(2, 2), ccp(0, 2), ccp(2, 0), &s, &t));
    EXPECT_FLOAT_EQ(s, 0.5f);
    EXPECT_FLOAT_EQ(t, 0.5f);
    // Lines meet outside the segments: (0,0)-(1,0) and (3,-1)-(3,1) cross at x = 3.
    ASSERT_TRUE(ccpLineIntersect(ccp(0, 0), ccp(1, 0), ccp(3, -1), ccp(3, 1), &s, &t));
    EXPECT_FLOAT_EQ(s, 3);
    EXPECT_FLOAT_EQ(t, 0.5f);
    EXPECT_FALSE(ccpSegmentIntersect(ccp(0, 0), ccp(1, 0), ccp(3, -1), ccp(3, 1)));
    expectPointNear(ccpIntersectPoint(ccp(0, 0), ccp(1, 0), ccp(3, -1), ccp(3, 1)), 3, 0);
    // Parallel, collinear and degenerate lines have no single crossing.
    EXPECT_FALSE(ccpLineIntersect(ccp(0, 0), ccp(1, 1), ccp(0, 1), ccp(1, 2), &s, &t));
    EXPECT_FALSE(ccpLineIntersect(ccp(0, 0), ccp(1, 1), ccp(2, 2), ccp(3, 3), &s, &t));
    EXPECT_FALSE(ccpLineIntersect(ccp(1, 1), ccp(1, 1), ccp(0, 2), ccp(2, 0), &s, &t));
}

TEST(RectTest, EdgesAndMidpoints) {
    CCRect rect(10, 20, 30, 40);
    EXPECT_FLOAT_EQ(rect.getMinX(), 10);
    EXPECT_FLOAT_EQ(rect.getMidX(), 25);
    EXPECT_FLOAT_EQ(rect.getMaxX(), 40);
    EXPECT_FLOAT_EQ(rect.getMinY(), 20);
    EXPECT_FLOAT_EQ(rect.getMidY(), 40);
    EXPECT_FLOAT_EQ(rect.getMaxY(), 60);
    EXPECT_EQ(CCRectMake(1, 2, 3, 4), CCRect(1, 2, 3, 4));
    EXPECT_EQ(CCSizeMake(3, 4), CCSize(3, 4));
}

TEST(RectTest, ContainsPointIncludesEdges) {
    CCRect rect(0, 0, 10, 5);
    EXPECT_TRUE(rect.containsPoint(ccp(0, 0)));
    EXPECT_TRUE(rect.containsPoint(ccp(10, 5)));
    EXPECT_TRUE(rect.containsPoint(ccp(5, 2.5f)));
    EXPECT_FALSE(rect.containsPoint(ccp(10.01f, 2)));
    EXPECT_FALSE(rect.containsPoint(ccp(5, -0.01f)));
    EXPECT_TRUE(CCRectZero.containsPoint(CCPointZero));
}

TEST(RectTest, IntersectionEdges) {
    CCRect rect(0, 0, 10, 10);
    EXPECT_TRUE(rect.intersectsRect(CCRect(5, 5, 10, 10)));    // overlapping corner
    EXPECT_TRUE(rect.intersectsRect(CCRect(2, 2, 3, 3)));      // inside
    EXPECT_TRUE(CCRect(2, 2, 3, 3).intersectsRect(rect));      // around
    EXPECT_TRUE(rect.intersectsRect(CCRect(10, 0, 5, 5)));     // shared right edge
    EXPECT_TRUE(rect.intersectsRect(CCRect(-5, 10, 5, 5)));    // shared corner
    EXPECT_FALSE(rect.intersectsRect(CCRect(10.5f, 0, 5, 5))); // gap on the right
    EXPECT_FALSE(rect.intersectsRect(CCRect(0, -6, 5, 5)));    // gap below
    EXPECT_FALSE(rect.intersectsRect(CCRect(-20, 20, 5, 5)));  // diagonal, apart
    expectRectNear(rect.unionWithRect(CCRect(-5, 3, 2, 20)), -5, 0, 15, 23);
}

TEST(AffineTransformTest, PointMapsThroughAllSixCoefficients) {
    // x' = a*x + c*y + tx = 2*3 + 4*5 + 7 = 33; y' = b*x + d*y + ty = 1*3 + 3*5 + 8 = 26.
    CCAffineTransform t = CCAffineTransformMake(2, 1, 4, 3, 7, 8);
    expectPointNear(CCPointApplyAffineTransform(ccp(3, 5), t), 33, 26);
    // Sizes take the linear part only: (2*3 + 4*5, 1*3 + 3*5).
    CCSize size = CCSizeApplyAffineTransform(CCSize(3, 5), t);
    EXPECT_FLOAT_EQ(size.width, 26);
    EXPECT_FLOAT_EQ(size.height, 18);
    expectPointNear(CCPointApplyAffineTransform(ccp(3, 5), CCAffineTransformIdentity), 3, 5);
    EXPECT_TRUE(
        CCAffineTransformEqualToTransform(CCAffineTransformMakeIdentity(), CCAffineTransformIdentity));
}

TEST(AffineTransformTest, RotationIsCounterClockwiseRadians) {
    CCAffineTransform quarter = CCAffineTransformRotate(CCAffineTransformIdentity, kPi / 2);
    expectPointNear(CCPointApplyAffineTransform(ccp(1, 0), quarter), 0, 1);
    expectPointNear(CCPointApplyAffineTransform(ccp(0, 1), quarter), -1, 0);
    // 30 degrees: (2,0) goes to (2 cos 30, 2 sin 30) = (1.7320508, 1).
    CCAffineTransform thirty = CCAffineTransformRotate(CCAffineTransformIdentity, kPi / 6);
    expectPointNear(CCPointApplyAffineTransform(ccp(2, 0), thirty), 1.7320508f, 1);
}

TEST(AffineTransformTest, ClockwiseRotationRoundTripsThroughAtan2) {
    // A node turned clockwise by r degrees has b = -sin r; atan2(-b, a) gives r back, also when scaled.
    for (float degrees : {-170.f, -90.f, -45.f, 0.f, 12.5f, 90.f, 135.f, 179.f}) {
        float radians = CC_DEGREES_TO_RADIANS(degrees);
        CCAffineTransform t = CCAffineTransformRotate(CCAffineTransformIdentity, -radians);
        t = CCAffineTransformScale(t, 2.5f, 2.5f);
        EXPECT_NEAR(CC_RADIANS_TO_DEGREES(std::atan2(-t.b, t.a)), degrees, 1e-3f) << degrees;
    }
}

TEST(AffineTransformTest, StepsComposeBeforeTheGivenTransform) {
    // Translate(Scale(I, 2, 3), 1, 1): translate first, then scale: (0,0) -> (1,1) -> (2,3).
    CCAffineTransform t =
        CCAffineTransformTranslate(CCAffineTransformScale(CCAffineTransformIdentity, 2, 3), 1, 1);
    expectPointNear(CCPointApplyAffineTransform(ccp(0, 0), t), 2, 3);
    // Scale(Translate(I, 1, 1), 2, 3): scale first, then translate: (1,1) -> (2,3) -> (3,4).
    CCAffineTransform u =
        CCAffineTransformScale(CCAffineTransformTranslate(CCAffineTransformIdentity, 1, 1), 2, 3);
    expectPointNear(CCPointApplyAffineTransform(ccp(1, 1), u), 3, 4);
}

TEST(AffineTransformTest, ConcatAppliesTheFirstTransformFirst) {
    CCAffineTransform shift = CCAffineTransformMake(1, 0, 0, 1, 10, 0);
    CCAffineTransform doubleSize = CCAffineTransformMake(2, 0, 0, 2, 0, 0);
    // Shift then double: (1,1) -> (11,1) -> (22,2). The other order would give (12,2).
    expectPointNear(CCPointApplyAffineTransform(ccp(1, 1), CCAffineTransformConcat(shift, doubleSize)), 22,
                    2);
    expectPointNear(CCPointApplyAffineTransform(ccp(1, 1), CCAffineTransformConcat(doubleSize, shift)), 12,
                    2);
    // Rotate a quarter turn, then shift: (1,0) -> (0,1) -> (10,1).
    CCAffineTransform quarter = CCAffineTransformRotate(CCAffineTransformIdentity, kPi / 2);
    expectPointNear(CCPointApplyAffineTransform(ccp(1, 0), CCAffineTransformConcat(quarter, shift)), 10, 1);
}

TEST(AffineTransformTest, InvertUndoesAndSingularStaysPut) {
    CCAffineTransform t = CCAffineTransformMake(2, 0, 0, 4, 10, 20);
    expectPointNear(CCPointApplyAffineTransform(ccp(12, 24), CCAffineTransformInvert(t)), 1, 1);
    CCAffineTransform turned =
        CCAffineTransformTranslate(CCAffineTransformRotate(CCAffineTransformIdentity, 0.7f), 5, -3);
    CCAffineTransform roundTrip = CCAffineTransformConcat(turned, CCAffineTransformInvert(turned));
    expectPointNear(CCPointApplyAffineTransform(ccp(7, -9), roundTrip), 7, -9, 1e-4f);
    // Determinant 1*4 - 2*2 = 0: no inverse exists, the transform comes back unchanged.
    CCAffineTransform singular = CCAffineTransformMake(1, 2, 2, 4, 5, 6);
    EXPECT_TRUE(CCAffineTransformEqualToTransform(CCAffineTransformInvert(singular), singular));
}

TEST(AffineTransformTest, RectBoundsTheTransformedCorners) {
    // (0,0,2,1) turned a quarter: corners (0,0), (0,2), (-1,0), (-1,2).
    CCAffineTransform quarter = CCAffineTransformRotate(CCAffineTransformIdentity, kPi / 2);
    expectRectNear(CCRectApplyAffineTransform(CCRect(0, 0, 2, 1), quarter), -1, 0, 1, 2);
    CCAffineTransform moveAndScale = CCAffineTransformMake(-2, 0, 0, 3, 5, 5);
    expectRectNear(CCRectApplyAffineTransform(CCRect(1, 1, 2, 2), moveAndScale), -1, 8, 4, 6);
}

TEST(GeometryTextTest, PointAndSizeForms) {
    expectPointNear(CCPointFromString("{1.5,-2}"), 1.5f, -2);
    expectPointNear(CCPointFromString(" { 3 , 4e1 } "), 3, 40);
    expectPointNear(CCPointFromString("{+7,.5}"), 7, 0.5f);
    CCSize size = CCSizeFromString("{640,1136}");
    EXPECT_FLOAT_EQ(size.width, 640);
    EXPECT_FLOAT_EQ(size.height, 1136);
    expectRectNear(CCRectFromString("{{1,2},{3,4}}"), 1, 2, 3, 4);
}

TEST(GeometryTextTest, MalformedFormsGiveZero) {
    for (const char* text : {"", "1,2", "{1,2", "1,2}", "{1}", "{a,b}", "{1,2,3}", "{1,2}x", "{1;2}", "{,2}",
                             "{nan,1}", "{inf,1}", "{1e39,1}", "{1,,2}", "{+-1,2}", "{{1,2}}"}) {
        EXPECT_EQ(CCPointFromString(text), CCPointZero) << text;
        EXPECT_EQ(CCSizeFromString(text), CCSizeZero) << text;
    }
    EXPECT_EQ(CCPointFromString(nullptr), CCPointZero);
    EXPECT_EQ(CCRectFromString("{{1,2},{3}}"), CCRectZero);
    EXPECT_EQ(CCRectFromString("{1,2,3,4}"), CCRectZero);
}

TEST(ColourTest, ConstructorsAndConversions) {
    ccColor3B orange = ccc3(255, 128, 0);
    EXPECT_EQ(orange.g, 128);
    EXPECT_TRUE(ccc3BEqual(ccWHITE, ccc3(255, 255, 255)));
    ccColor4F f = ccc4FFromccc3B(ccc3(255, 0, 51));
    EXPECT_FLOAT_EQ(f.r, 1);
    EXPECT_FLOAT_EQ(f.b, 0.2f);
    EXPECT_FLOAT_EQ(f.a, 1);
    // Out-of-range and NaN channels clamp instead of overflowing the byte.
    ccColor4B b = ccc4BFromccc4F(ccc4f(2.0f, -1.0f, 0.5f, std::nanf("")));
    EXPECT_EQ(b.r, 255);
    EXPECT_EQ(b.g, 0);
    EXPECT_EQ(b.b, 127);
    EXPECT_EQ(b.a, 0);
}
