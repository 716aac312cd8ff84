#include "player/physics/KXPCountedRayCast.h"

namespace {

// Box2D's own wrapper for a world ray cast, counting the boxes the tree hands it.
struct CountingRay {
    const b2BroadPhase* broadPhase;
    b2RayCastCallback* callback;
    int64_t cap;
    int64_t looked = 0;
    bool cut = false;

    float RayCastCallback(const b2RayCastInput& input, int32 proxyId) {
        if (looked >= cap) {
            // No further box: a fraction of 0 ends the cast.
            cut = true;
            return 0.0f;
        }
        ++looked;
        const auto* proxy = static_cast<const b2FixtureProxy*>(broadPhase->GetUserData(proxyId));
        b2Fixture* fixture = proxy->fixture;
        b2RayCastOutput output;
        if (!fixture->RayCast(&output, input, proxy->childIndex)) {
            return input.maxFraction;
        }
        const float fraction = output.fraction;
        const b2Vec2 point = (1.0f - fraction) * input.p1 + fraction * input.p2;
        return callback->ReportFixture(fixture, point, output.normal, fraction);
    }
};

} // namespace

int64_t kxCountedRayCast(const b2World& world, b2RayCastCallback* callback, const b2Vec2& from,
                         const b2Vec2& to, int64_t cap, bool* cut) {
    const b2BroadPhase& broadPhase = world.GetContactManager().m_broadPhase;
    CountingRay ray{&broadPhase, callback, cap};
    b2RayCastInput input;
    input.maxFraction = 1.0f;
    input.p1 = from;
    input.p2 = to;
    broadPhase.RayCast(&ray, input);
    if (cut != nullptr) {
        *cut = ray.cut;
    }
    return ray.looked;
}
