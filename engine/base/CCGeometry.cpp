#include "base/CCGeometry.h"

#include <algorithm>
#include <cfloat>

#include "base/CCNumberParse.h"

NS_CC_BEGIN

const CCPoint CCPointZero(0, 0);
const CCSize CCSizeZero(0, 0);
const CCRect CCRectZero(0, 0, 0, 0);

CCPoint& CCPoint::operator+=(const CCPoint& right) {
    x += right.x;
    y += right.y;
    return *this;
}

CCPoint& CCPoint::operator-=(const CCPoint& right) {
    x -= right.x;
    y -= right.y;
    return *this;
}

CCPoint& CCPoint::operator*=(float a) {
    x *= a;
    y *= a;
    return *this;
}

bool CCPoint::equals(const CCPoint& target) const {
    return std::fabs(x - target.x) < FLT_EPSILON && std::fabs(y - target.y) < FLT_EPSILON;
}

bool CCPoint::fuzzyEquals(const CCPoint& target, float variance) const {
    return x - variance <= target.x && target.x <= x + variance && y - variance <= target.y &&
           target.y <= y + variance;
}

float CCPoint::getLength() const {
    return std::sqrt(x * x + y * y);
}

CCPoint CCPoint::normalize() const {
    float length = getLength();
    if (length == 0.f)
        return CCPoint(1.f, 0.f);
    return *this / length;
}

float CCPoint::getAngle() const {
    return std::atan2(y, x);
}

float CCPoint::getAngle(const CCPoint& other) const {
    CCPoint a = normalize();
    CCPoint b = other.normalize();
    float angle = std::atan2(a.cross(b), a.dot(b));
    if (std::fabs(angle) < FLT_EPSILON)
        return 0.f;
    return angle;
}

CCPoint CCPoint::rotateByAngle(const CCPoint& pivot, float angle) const {
    return pivot + (*this - pivot).rotate(CCPoint::forAngle(angle));
}

bool CCSize::equals(const CCSize& target) const {
    return std::fabs(width - target.width) < FLT_EPSILON && std::fabs(height - target.height) < FLT_EPSILON;
}

bool CCRect::containsPoint(const CCPoint& point) const {
    return point.x >= getMinX() && point.x <= getMaxX() && point.y >= getMinY() && point.y <= getMaxY();
}

bool CCRect::intersectsRect(const CCRect& rect) const {
    return !(getMaxX() < rect.getMinX() || rect.getMaxX() < getMinX() || getMaxY() < rect.getMinY() ||
             rect.getMaxY() < getMinY());
}

CCRect CCRect::unionWithRect(const CCRect& rect) const {
    float minX = std::min(getMinX(), rect.getMinX());
    float minY = std::min(getMinY(), rect.getMinY());
    float maxX = std::max(getMaxX(), rect.getMaxX());
    float maxY = std::max(getMaxY(), rect.getMaxY());
    return CCRect(minX, minY, maxX - minX, maxY - minY);
}

CCPoint CCPointFromString(const char* text) {
    float values[2];
    if (!parseBracedFloats(text, values, 2))
        return CCPointZero;
    return CCPoint(values[0], values[1]);
}

CCSize CCSizeFromString(const char* text) {
    float values[2];
    if (!parseBracedFloats(text, values, 2))
        return CCSizeZero;
    return CCSize(values[0], values[1]);
}

CCRect CCRectFromString(const char* text) {
    float values[4];
    if (!parseBracedRect(text, values))
        return CCRectZero;
    return CCRect(values[0], values[1], values[2], values[3]);
}

NS_CC_END
