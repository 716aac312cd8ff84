#include "model/classes/KXShapeGeometry.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace {

float cross(const b2Vec2& a, const b2Vec2& b) {
    return a.x * b.y - a.y * b.x;
}

// Gift wrapping from the right-most (then lowest) point, taking the most clockwise
// candidate and, among collinear ones, the farthest: Box2D's own choice, so that the
// corners found here are the ones it will find. Returns the corner count, 0 when the walk
// does not close within the point count.
int wrapHull(const b2Vec2* points, int count, b2Vec2* hull) {
    int start = 0;
    for (int i = 1; i < count; ++i) {
        if (points[i].x > points[start].x ||
            (points[i].x == points[start].x && points[i].y < points[start].y)) {
            start = i;
        }
    }
    int corners = 0;
    int current = start;
    for (;;) {
        if (corners >= count) {
            return 0;
        }
        hull[corners] = points[current];
        int next = 0;
        for (int j = 1; j < count; ++j) {
            if (next == current) {
                next = j;
                continue;
            }
            const b2Vec2 r = points[next] - hull[corners];
            const b2Vec2 v = points[j] - hull[corners];
            const float c = cross(r, v);
            if (c < 0.0f) {
                next = j;
            }
            if (c == 0.0f && v.LengthSquared() > r.LengthSquared()) {
                next = j;
            }
        }
        ++corners;
        current = next;
        if (next == start) {
            return corners;
        }
    }
}

// Signed area of the hull as a fan around its first corner.
float hullArea(const b2Vec2* hull, int count) {
    const b2Vec2 origin = hull[0];
    float area = 0.0f;
    for (int i = 0; i < count; ++i) {
        const b2Vec2 p1 = hull[0] - origin;
        const b2Vec2 p2 = hull[i] - origin;
        const b2Vec2 p3 = i + 1 < count ? hull[i + 1] - origin : hull[0] - origin;
        area += 0.5f * cross(p2 - p1, p3 - p1);
    }
    return area;
}

} // namespace

bool hasNearDuplicatePoints(const b2Vec2* points, int count) {
    const int n = count < b2_maxPolygonVertices ? count : b2_maxPolygonVertices;
    for (int i = 1; i < n; ++i) {
        for (int j = 0; j < i; ++j) {
            if (b2DistanceSquared(points[i], points[j]) < kShapeWeldDistanceSquared) {
                return true;
            }
        }
    }
    return false;
}

bool isUsablePolygonHull(const b2Vec2* points, int count) {
    if (count < 3 || count > b2_maxPolygonVertices) {
        return false;
    }
    for (int i = 0; i < count; ++i) {
        if (!std::isfinite(points[i].x) || !std::isfinite(points[i].y)) {
            return false;
        }
    }
    if (hasNearDuplicatePoints(points, count)) {
        return false;
    }
    b2Vec2 hull[b2_maxPolygonVertices];
    const int corners = wrapHull(points, count, hull);
    if (corners < 3) {
        return false;
    }
    // Edges of at least the weld distance; the area test is the one Box2D asserts on, with room
    // for rounding: a fused multiply-add elsewhere moves each of its cross products by a float
    // step of the hull's extent squared.
    float extent = 0.0f;
    for (int i = 1; i < corners; ++i) {
        extent = std::max(extent, (hull[i] - hull[0]).LengthSquared());
    }
    const float area = hullArea(hull, corners);
    return std::isfinite(area) && area > FLT_EPSILON * (1.0f + static_cast<float>(corners) * extent);
}
