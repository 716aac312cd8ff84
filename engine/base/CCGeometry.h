// Points, sizes and rectangles in floating-point screen units.
#pragma once

#include "base/ccMacros.h"

NS_CC_BEGIN

class CCSize;

class CCPoint {
public:
    float x;
    float y;

    CCPoint() : x(0), y(0) {}
    CCPoint(float x_, float y_) : x(x_), y(y_) {}
    explicit CCPoint(const CCSize& size);

    void setPoint(float x_, float y_) {
        x = x_;
        y = y_;
    }

    CCPoint operator+(const CCPoint& right) const { return CCPoint(x + right.x, y + right.y); }
    CCPoint operator-(const CCPoint& right) const { return CCPoint(x - right.x, y - right.y); }
    CCPoint operator-() const { return CCPoint(-x, -y); }
    CCPoint operator*(float a) const { return CCPoint(x * a, y * a); }
    CCPoint operator/(float a) const { return CCPoint(x / a, y / a); }
    CCPoint& operator+=(const CCPoint& right);
    CCPoint& operator-=(const CCPoint& right);
    CCPoint& operator*=(float a);
    bool operator==(const CCPoint& right) const { return x == right.x && y == right.y; }
    bool operator!=(const CCPoint& right) const { return !(*this == right); }

    bool equals(const CCPoint& target) const;
    // True when both coordinates differ by at most variance.
    bool fuzzyEquals(const CCPoint& target, float variance) const;

    float getLength() const;
    float getLengthSq() const { return dot(*this); }
    float getDistance(const CCPoint& other) const { return (*this - other).getLength(); }
    float getDistanceSq(const CCPoint& other) const { return (*this - other).getLengthSq(); }
    float dot(const CCPoint& other) const { return x * other.x + y * other.y; }
    float cross(const CCPoint& other) const { return x * other.y - y * other.x; }
    CCPoint getPerp() const { return CCPoint(-y, x); }
    CCPoint getRPerp() const { return CCPoint(y, -x); }
    // Unit vector in the same direction; the zero vector gives (1, 0).
    CCPoint normalize() const;
    // Angle of the vector in radians, counter-clockwise from the x axis.
    float getAngle() const;
    // Signed angle in radians from this vector to other, positive counter-clockwise.
    float getAngle(const CCPoint& other) const;
    // Complex multiplication: rotates this vector by other's angle and scales by its length.
    CCPoint rotate(const CCPoint& other) const {
        return CCPoint(x * other.x - y * other.y, x * other.y + y * other.x);
    }
    CCPoint unrotate(const CCPoint& other) const {
        return CCPoint(x * other.x + y * other.y, y * other.x - x * other.y);
    }
    // Rotates counter-clockwise by angle radians around pivot.
    CCPoint rotateByAngle(const CCPoint& pivot, float angle) const;
    CCPoint lerp(const CCPoint& other, float alpha) const { return *this * (1.f - alpha) + other * alpha; }

    static CCPoint forAngle(float a) { return CCPoint(std::cos(a), std::sin(a)); }
};

class CCSize {
public:
    float width;
    float height;

    CCSize() : width(0), height(0) {}
    CCSize(float w, float h) : width(w), height(h) {}
    explicit CCSize(const CCPoint& point) : width(point.x), height(point.y) {}

    void setSize(float w, float h) {
        width = w;
        height = h;
    }
    CCSize operator+(const CCSize& right) const { return CCSize(width + right.width, height + right.height); }
    CCSize operator-(const CCSize& right) const { return CCSize(width - right.width, height - right.height); }
    CCSize operator*(float a) const { return CCSize(width * a, height * a); }
    CCSize operator/(float a) const { return CCSize(width / a, height / a); }
    bool operator==(const CCSize& right) const { return width == right.width && height == right.height; }
    bool operator!=(const CCSize& right) const { return !(*this == right); }
    bool equals(const CCSize& target) const;
};

inline CCPoint::CCPoint(const CCSize& size) : x(size.width), y(size.height) {}

class CCRect {
public:
    CCPoint origin;
    CCSize size;

    CCRect() {}
    CCRect(float x, float y, float width, float height) : origin(x, y), size(width, height) {}

    void setRect(float x, float y, float width, float height) {
        origin.setPoint(x, y);
        size.setSize(width, height);
    }
    float getMinX() const { return origin.x; }
    float getMidX() const { return origin.x + size.width / 2.0f; }
    float getMaxX() const { return origin.x + size.width; }
    float getMinY() const { return origin.y; }
    float getMidY() const { return origin.y + size.height / 2.0f; }
    float getMaxY() const { return origin.y + size.height; }

    bool equals(const CCRect& rect) const { return origin.equals(rect.origin) && size.equals(rect.size); }
    bool operator==(const CCRect& rect) const { return origin == rect.origin && size == rect.size; }
    bool operator!=(const CCRect& rect) const { return !(*this == rect); }
    // Edges count as inside.
    bool containsPoint(const CCPoint& point) const;
    // Rectangles that only touch along an edge intersect.
    bool intersectsRect(const CCRect& rect) const;
    // Smallest rectangle holding both.
    CCRect unionWithRect(const CCRect& rect) const;
};

extern const CCPoint CCPointZero;
extern const CCSize CCSizeZero;
extern const CCRect CCRectZero;

inline CCPoint CCPointMake(float x, float y) {
    return CCPoint(x, y);
}
inline CCPoint ccp(float x, float y) {
    return CCPoint(x, y);
}
inline CCSize CCSizeMake(float width, float height) {
    return CCSize(width, height);
}
inline CCRect CCRectMake(float x, float y, float width, float height) {
    return CCRect(x, y, width, height);
}

// "{x,y}" forms; malformed text gives zero.
CCPoint CCPointFromString(const char* text);
CCSize CCSizeFromString(const char* text);
// "{{x,y},{w,h}}"; malformed text gives the zero rectangle.
CCRect CCRectFromString(const char* text);

NS_CC_END
