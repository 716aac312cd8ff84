#pragma once

// The position history of a trail and the ribbon drawn along it. Point 0 is the live head; as
// the head moves on, points are inserted behind it one segment ("Length" / 40) apart, at most 39
// are kept, and every point but the head drifts each frame along the node's axes. Kept apart from
// the trail object so that it runs without GL.

#include "cocos2d.h"

#include <functional>

class KXPTrailPath {
public:
    static constexpr int kCapacity = 40;
    // Points kept once the trail runs; the oldest falls off beyond.
    static constexpr int kMaxCount = kCapacity - 1;
    // Segments in one "Length".
    static constexpr float kSegments = 40.0f;
    // Segments crossed in one frame that are still filled in.
    static constexpr int kMaxSegmentsPerFrame = 32;
    // Ribbon vertices at most (two per point but the last).
    static constexpr int kStripCapacity = 2 * kCapacity;

    KXPTrailPath();

    // Every point at `point`; the count is left as it is.
    void fill(const cocos2d::CCPoint& point);
    // Starts a fresh history of two points (head and one behind it) when it is empty, then fills
    // the head's distance from point 1 with points one segment apart. `nextWave` gives the drift
    // across of each new point. A length of 0 or less (or not a number) inserts nothing. Answers
    // the number of points inserted.
    int insert(float length, const std::function<float()>& nextWave);
    // Moves every point but the head by speed x 0.0166 along the node's x axis and by its wave
    // along its y axis (rotation in clockwise degrees).
    void drift(float speed, float rotationDegrees);
    void setHead(const cocos2d::CCPoint& head) { m_points[0] = head; }

    int count() const { return m_count; }
    const cocos2d::CCPoint& point(int index) const { return m_points[index]; }
    float wave(int index) const { return m_waves[index]; }

    // The ribbon as a triangle strip: two vertices across each point but the last, the width
    // going from startWidth at the head to endWidth at the tail and the texture sliding along
    // as the head covers a segment. Answers the number of vertices (0 when nothing is drawn).
    int buildStrip(float length, float startWidth, float endWidth, cocos2d::ccVertex2F* vertices,
                   cocos2d::ccTex2F* texCoords) const;

private:
    cocos2d::CCPoint m_points[kCapacity];
    float m_waves[kCapacity];
    int m_count = 0;
};
