#include "player/physics/KXPBatchedDisable.h"

#include "player/physics/KXPBroadPhaseView.h"

#include <algorithm>
#include <unordered_map>

namespace {

b2BroadPhase& broadPhaseOf(b2World& world) {
    // The world's own broad phase, which it hands out only to be read.
    return const_cast<b2BroadPhase&>(world.GetContactManager().m_broadPhase);
}

bool touchesAny(const b2Body& body) {
    for (const b2ContactEdge* edge = body.GetContactList(); edge != nullptr; edge = edge->next) {
        if (edge->contact->IsTouching()) {
            return true;
        }
    }
    return false;
}

} // namespace

void KXPBatchedDisable::disable(b2Body& body) {
    b2World& world = *body.GetWorld();
    if (!body.IsEnabled() || world.IsLocked() || touchesAny(body)) {
        body.SetEnabled(false);
        return;
    }
    b2BroadPhase& broadPhase = broadPhaseOf(world);
    if (m_broadPhase != &broadPhase) {
        // Another world's boxes wait to be cleared: this one goes as Box2D takes it out.
        if (!m_dead.empty()) {
            body.SetEnabled(false);
            return;
        }
        m_broadPhase = &broadPhase;
    }
    const KXPBroadPhaseView view(world);
    const int32 count = view.moveCount();
    for (const b2Fixture* fixture = body.GetFixtureList(); fixture != nullptr; fixture = fixture->GetNext()) {
        for (int32 child = 0; child < fixture->GetShape()->GetChildCount(); ++child) {
            const int32 proxyId = KXPBroadPhaseView::proxyIdOf(*fixture, child);
            if (proxyId != b2BroadPhase::e_nullProxy) {
                m_dead.push_back({proxyId, count});
            }
        }
    }
    // With the buffer seen as empty, Box2D destroys the boxes without looking for them in it. No
    // contact touches, so no call goes to the game meanwhile.
    KXPBroadPhaseView::setMoveCount(broadPhase, 0);
    body.SetEnabled(false);
    KXPBroadPhaseView::setMoveCount(broadPhase, count);
}

void KXPBatchedDisable::settle(b2World& world) {
    if (m_dead.empty()) {
        return;
    }
    b2BroadPhase& broadPhase = broadPhaseOf(world);
    if (m_broadPhase == &broadPhase) {
        std::unordered_map<int32, int32> before;
        before.reserve(m_dead.size());
        for (const Dead& dead : m_dead) {
            int32& limit = before[dead.proxyId];
            limit = std::max(limit, dead.before);
        }
        const int32 count = KXPBroadPhaseView(world).moveCount();
        int32* entries = KXPBroadPhaseView::moveBuffer(broadPhase);
        for (int32 index = 0; index < count; ++index) {
            const auto found = before.find(entries[index]);
            if (found != before.end() && index < found->second) {
                entries[index] = b2BroadPhase::e_nullProxy;
            }
        }
    }
    m_dead.clear();
}
