#include "player/physics/KXPBroadPhaseView.h"

#include <cstddef>
#include <cstring>
#include <type_traits>

namespace {

// b2BroadPhase's members in Box2D 2.4's order: the tree first, then the move buffer.
struct BroadPhaseLayout {
    b2DynamicTree tree;
    int32 proxyCount;
    int32* moveBuffer;
    int32 moveCapacity;
    int32 moveCount;
    b2Pair* pairBuffer;
    int32 pairCapacity;
    int32 pairCount;
    int32 queryProxyId;
};

static_assert(std::is_standard_layout<b2BroadPhase>::value,
              "the broad phase's layout is read as Box2D 2.4 has it");
static_assert(sizeof(BroadPhaseLayout) == sizeof(b2BroadPhase), "the broad phase's layout is Box2D 2.4's");

template <class T> T read(const b2BroadPhase& broadPhase, size_t offset) {
    T value;
    std::memcpy(&value, reinterpret_cast<const unsigned char*>(&broadPhase) + offset, sizeof(T));
    return value;
}

} // namespace

KXPBroadPhaseView::KXPBroadPhaseView(const b2World& world)
    : m_broadPhase(world.GetContactManager().m_broadPhase),
      // The tree is the first member of a standard-layout class: the class's address is its own.
      m_tree(*reinterpret_cast<const b2DynamicTree*>(&m_broadPhase)) {}

int32 KXPBroadPhaseView::moveCount() const {
    return read<int32>(m_broadPhase, offsetof(BroadPhaseLayout, moveCount));
}

int32 KXPBroadPhaseView::movedProxy(int32 index) const {
    const auto* buffer = read<const int32*>(m_broadPhase, offsetof(BroadPhaseLayout, moveBuffer));
    return buffer[index];
}

void KXPBroadPhaseView::setMoveCount(b2BroadPhase& broadPhase, int32 count) {
    std::memcpy(reinterpret_cast<unsigned char*>(&broadPhase) + offsetof(BroadPhaseLayout, moveCount), &count,
                sizeof(count));
}

int32* KXPBroadPhaseView::moveBuffer(b2BroadPhase& broadPhase) {
    return read<int32*>(broadPhase, offsetof(BroadPhaseLayout, moveBuffer));
}

int32 KXPBroadPhaseView::pairCount() const {
    return read<int32>(m_broadPhase, offsetof(BroadPhaseLayout, pairCount));
}

int32 KXPBroadPhaseView::pairCapacity() const {
    return read<int32>(m_broadPhase, offsetof(BroadPhaseLayout, pairCapacity));
}

const b2Pair& KXPBroadPhaseView::pair(int32 index) const {
    const auto* buffer = read<const b2Pair*>(m_broadPhase, offsetof(BroadPhaseLayout, pairBuffer));
    return buffer[index];
}

int32 KXPBroadPhaseView::proxyIdOf(const b2Fixture& fixture, int32 child) {
    return reinterpret_cast<const b2FixtureProxy*>(&fixture.GetAABB(child))->proxyId;
}

b2Transform KXPBroadPhaseView::carriedTo(const b2Body& body, float dt) {
    b2Vec2 velocity = body.GetLinearVelocity();
    if (body.GetType() == b2_dynamicBody) {
        velocity += (dt * body.GetGravityScale()) * body.GetWorld()->GetGravity();
    }
    const b2Transform& from = body.GetTransform();
    b2Transform to;
    to.p = from.p + dt * velocity;
    to.q.Set(body.GetAngle() + dt * body.GetAngularVelocity());
    return to;
}

bool KXPBroadPhaseView::leavesMargins(const b2Fixture& fixture, int32 child, const b2Transform& from,
                                      const b2Transform& to) const {
    const int32 proxyId = proxyIdOf(fixture, child);
    if (proxyId == b2BroadPhase::e_nullProxy) {
        return false;
    }
    // The swept box within the tree's, and the tree's not far larger than the margin it would get.
    const b2Vec2 margin(b2_aabbExtension, b2_aabbExtension);
    b2AABB before;
    b2AABB after;
    fixture.GetShape()->ComputeAABB(&before, from, child);
    fixture.GetShape()->ComputeAABB(&after, to, child);
    b2AABB swept;
    swept.Combine(before, after);
    const b2Vec2 displacement = b2_aabbMultiplier * (after.GetCenter() - before.GetCenter());
    b2AABB fat;
    fat.lowerBound = swept.lowerBound - margin;
    fat.upperBound = swept.upperBound + margin;
    (displacement.x < 0.0f ? fat.lowerBound.x : fat.upperBound.x) += displacement.x;
    (displacement.y < 0.0f ? fat.lowerBound.y : fat.upperBound.y) += displacement.y;
    const b2AABB& tree = fatBox(proxyId);
    if (!tree.Contains(swept)) {
        return true;
    }
    b2AABB huge;
    huge.lowerBound = fat.lowerBound - 4.0f * margin;
    huge.upperBound = fat.upperBound + 4.0f * margin;
    return !huge.Contains(tree);
}
