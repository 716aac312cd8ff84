#pragma once

// Checks made on collision-shape points (in metres) before they reach Box2D, whose polygon
// construction stops the process on a hull it cannot use.

#include <box2d/box2d.h>

// Weld distance: points closer than 0.05 metre count as one.
constexpr float kShapeWeldDistanceSquared = 0.0025f;

// True when two of the first min(count, 8) points are closer than the weld distance.
bool hasNearDuplicatePoints(const b2Vec2* points, int count);

// True when b2PolygonShape::Set can take the points: 3 to 8 finite points, none welded to
// another, whose convex hull (built the way Box2D builds it) has at least 3 corners and a
// positive area, clear of what rounding on another machine could make of it.
bool isUsablePolygonHull(const b2Vec2* points, int count);
