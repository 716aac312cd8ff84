#include "player/objects/assets/KXPOneWayPlatform.h"

#include <cfloat>
#include <cmath>

using namespace cocos2d;

namespace {
constexpr float kQuarterTurn = 1.570796f;
constexpr float kHalfTurn = 3.14159265f;
} // namespace

bool KXPOneWayPlatform::isFromSolidSide(const CCPoint& oneWay, b2Vec2 normal, b2Vec2 otherVelocity) {
    if (!(oneWay.getLength() > 0.0f)) {
        return true;
    }
    // Axis-aligned vectors stay exactly axis-aligned (so their angles are exact).
    CCPoint way = oneWay;
    if (std::fabs(way.x) <= FLT_EPSILON) {
        way.x = 0.0f;
    }
    if (std::fabs(way.y) <= FLT_EPSILON) {
        way.y = 0.0f;
    }
    const float solidAngle = way.getAngle();

    if (normal.x == 0.0f && normal.y == 0.0f) {
        // Box2D leaves a vector shorter than its epsilon as it is.
        otherVelocity.Normalize();
        normal = -otherVelocity;
    }
    // The difference is taken the short way round, so that a vector pointing left (at plus or
    // minus pi) is solid on both halves of its side.
    float difference = std::atan2(normal.y, normal.x) - solidAngle;
    if (difference > kHalfTurn) {
        difference -= 2.0f * kHalfTurn;
    } else if (difference < -kHalfTurn) {
        difference += 2.0f * kHalfTurn;
    }
    return !(difference >= kQuarterTurn || difference <= -kQuarterTurn);
}

b2Vec2 KXPOneWayPlatform::contactNormal(b2Contact* contact, const b2Body* body) {
    if (contact == nullptr || body == nullptr) {
        return b2Vec2(0.0f, 0.0f);
    }
    // Box2D fills the normal only for manifolds with points; a sensor's has none.
    b2WorldManifold manifold;
    manifold.normal.SetZero();
    contact->GetWorldManifold(&manifold);
    b2Vec2 normal = manifold.normal;
    if (contact->GetFixtureB() != nullptr && contact->GetFixtureB()->GetBody() == body) {
        normal = -normal;
    }
    return b2MulT(body->GetTransform().q, normal);
}
