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

int32 KXPBroadPhaseView::pairCount() const {
    return read<int32>(m_broadPhase, offsetof(BroadPhaseLayout, pairCount));
}

const b2Pair& KXPBroadPhaseView::pair(int32 index) const {
    const auto* buffer = read<const b2Pair*>(m_broadPhase, offsetof(BroadPhaseLayout, pairBuffer));
    return buffer[index];
}

int32 KXPBroadPhaseView::proxyIdOf(const b2Fixture& fixture, int32 child) {
    return reinterpret_cast<const b2FixtureProxy*>(&fixture.GetAABB(child))->proxyId;
}
