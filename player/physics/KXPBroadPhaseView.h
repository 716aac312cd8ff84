#pragma once

// What Box2D's broad phase will pair in the next step, read without changing it. Box2D keeps the
// boxes moved since its last step (made, enabled, moved by the game beyond their margin, given a
// new type) in a move buffer and, at the start of the step, looks up every box each one overlaps:
// that is the step's first pairing, paid before any contact is worked out. The buffer is private
// to b2BroadPhase; this view reads it through Box2D 2.4's own layout of the class, which the
// static checks in the source pin down. Two writes sit beside it, for KXPBatchedDisable alone.

#include <box2d/box2d.h>

#include <cstdint>

class KXPBroadPhaseView {
public:
    explicit KXPBroadPhaseView(const b2World& world);

    int32 proxyCount() const { return m_broadPhase.GetProxyCount(); }
    // Boxes the next step looks up (an entry of a box destroyed since is skipped by Box2D too).
    int32 moveCount() const;
    int32 movedProxy(int32 index) const;
    bool wasMoved(int32 proxyId) const { return m_tree.WasMoved(proxyId); }
    // The pairs the last pairing found (kept until the next one starts).
    int32 pairCount() const;
    // The pairs the buffer holds before it has to grow: it grows by half again, from 16, each time a
    // pairing finds more, and never shrinks.
    int32 pairCapacity() const;
    const b2Pair& pair(int32 index) const;
    const b2AABB& fatBox(int32 proxyId) const { return m_broadPhase.GetFatAABB(proxyId); }
    const b2FixtureProxy* proxy(int32 proxyId) const {
        return static_cast<const b2FixtureProxy*>(m_broadPhase.GetUserData(proxyId));
    }
    const b2BroadPhase& broadPhase() const { return m_broadPhase; }

    // The broad-phase id of a fixture's child (Box2D keeps each child's bounds as the first member
    // of its proxy).
    static int32 proxyIdOf(const b2Fixture& fixture, int32 child);

    // The move buffer's count and entries, to be written: only as Box2D itself would leave them.
    static void setMoveCount(b2BroadPhase& broadPhase, int32 count);
    static int32* moveBuffer(b2BroadPhase& broadPhase);

    // Where a body's speed (and, falling, the world's pull) takes it in a step of `dt`.
    static b2Transform carriedTo(const b2Body& body, float dt);
    // Whether the box of a fixture's child leaves its margins as its body goes from `from` to `to`
    // in the step: Box2D's own test when it synchronises the box, which then pairs it again.
    bool leavesMargins(const b2Fixture& fixture, int32 child, const b2Transform& from,
                       const b2Transform& to) const;

private:
    const b2BroadPhase& m_broadPhase;
    const b2DynamicTree& m_tree;
};
