#include "player/objects/effects/KXPTrailPath.h"

#include "model/KXNumeric.h"

#include <algorithm>
#include <cmath>

using namespace cocos2d;

namespace {
constexpr double kRadiansPerDegree = 0.017453292;
constexpr double kHalfPi = 1.5707963267948966;
// Drift per frame per unit of "Speed".
constexpr double kDriftPerSpeed = 0.0166;
// How far the texture slides as the head covers one segment.
constexpr float kTextureSlide = 0.025f;

bool usableLength(float length) {
    return length > 0.0f && std::isfinite(length);
}

// Unit vector, or zero for a zero vector (two points on top of each other have no across).
CCPoint unitOrZero(const CCPoint& vector) {
    const float length = vector.getLength();
    return length > 0.0f ? vector * (1.0f / length) : CCPointZero;
}
} // namespace

KXPTrailPath::KXPTrailPath() {
    std::fill(m_waves, m_waves + kCapacity, 0.0f);
}

void KXPTrailPath::fill(const CCPoint& point) {
    std::fill(m_points, m_points + kCapacity, point);
}

int KXPTrailPath::insert(float length, const std::function<float()>& nextWave) {
    if (m_count == 0) {
        m_points[1] = m_points[0];
        m_count = 2;
    }
    if (!usableLength(length)) {
        return 0;
    }
    const float segment = length / kSegments;
    const float distance = m_points[0].getDistance(m_points[1]);
    if (!(distance > segment)) {
        return 0;
    }
    const int steps = std::min(kx::truncateToInt(distance / segment), kMaxSegmentsPerFrame);
    const CCPoint head = m_points[0];
    const CCPoint previous = m_points[1];
    int inserted = 0;
    for (int k = 1; k < steps; ++k) {
        m_points[0] = ccpLerp(previous, head, static_cast<float>(k) / static_cast<float>(steps));
        ++m_count;
        for (int index = kCapacity - 1; index > 0; --index) {
            m_points[index] = m_points[index - 1];
            m_waves[index] = m_waves[index - 1];
        }
        m_waves[0] = nextWave ? nextWave() : 0.0f;
        if (m_count >= kCapacity) {
            --m_count;
        }
        ++inserted;
    }
    return inserted;
}

void KXPTrailPath::drift(float speed, float rotationDegrees) {
    const double angle = rotationDegrees * kRadiansPerDegree + kHalfPi;
    const double alongX = std::sin(angle);
    const double alongY = std::cos(angle);
    const double acrossX = std::sin(angle - kHalfPi);
    const double acrossY = std::cos(angle - kHalfPi);
    const double step = speed * kDriftPerSpeed;
    for (int index = 1; index < m_count; ++index) {
        CCPoint& point = m_points[index];
        const double wave = m_waves[index];
        point.x = static_cast<float>(point.x + step * alongX + wave * acrossX);
        point.y = static_cast<float>(point.y + step * alongY + wave * acrossY);
    }
}

int KXPTrailPath::buildStrip(float length, float startWidth, float endWidth, ccVertex2F* vertices,
                             ccTex2F* texCoords) const {
    if (m_count < 2 || !usableLength(length)) {
        return 0;
    }
    const float segment = length / kSegments;
    const float distance = m_points[0].getDistance(m_points[1]);
    const float slide = (segment - distance) / segment;
    int written = 0;
    for (int index = 0; index + 1 < m_count; ++index) {
        const CCPoint across =
            unitOrZero(ccpRotateByAngle(m_points[index] - m_points[index + 1], CCPointZero, 1.5707964f));
        const float t = static_cast<float>(index) / static_cast<float>(kMaxCount) - slide * kTextureSlide;
        const float width = startWidth * (1.0f - t) + endWidth * t;
        const CCPoint& point = m_points[index];
        vertices[written] = ccVertex2F{point.x + across.x * width, point.y + across.y * width};
        texCoords[written] = ccTex2F{t, 0.0f};
        vertices[written + 1] = ccVertex2F{point.x - across.x * width, point.y - across.y * width};
        texCoords[written + 1] = ccTex2F{t, 1.0f};
        written += 2;
    }
    return written;
}
