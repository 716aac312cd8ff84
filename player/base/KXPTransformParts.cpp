#include "player/base/KXPTransformParts.h"

#include <cmath>

using namespace cocos2d;

namespace {

constexpr float kDegreesPerRadian = 57.29578f;

float finiteOrZero(float value) {
    return std::isfinite(value) ? value : 0.0f;
}

} // namespace

KXPTransformParts KXPTransformParts::ofDestination(const CCAffineTransform& t) {
    KXPTransformParts parts;
    parts.position = CCPoint(t.tx, t.ty);
    parts.scaleX = std::sqrt(t.a * t.a + t.b * t.b);
    parts.scaleY = std::sqrt(t.c * t.c + t.d * t.d);
    const float determinant = t.a * t.d - t.b * t.c;
    float radians = 0.0f;
    if (determinant > 0.0f) {
        radians = std::atan2(-t.b, t.a);
    } else if (t.d == 0.0f) {
        radians = std::atan(t.c / t.d);
    } else {
        radians = std::atan(-t.b / t.a);
    }
    parts.rotation = finiteOrZero(radians * kDegreesPerRadian);
    return parts;
}

void KXPTransformParts::applyTo(CCNode* node) const {
    node->setPosition(position);
    node->setRotation(rotation);
    node->setScaleX(scaleX);
    node->setScaleY(scaleY);
}
