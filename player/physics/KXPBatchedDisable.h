#pragma once

// Takes bodies out of the physics as b2Body::SetEnabled(false) does, in batches. Box2D looks for
// each box it destroys in the whole move buffer (the boxes made or moved since the last step), to
// clear its entries: holding out thousands of bodies laid in one frame, each looked for among
// thousands of entries, took longer than their step. Here the boxes' entries are left where they
// are, known to be dead, and cleared in one pass over the buffer before anything reads it again
// (settle()), which leaves the buffer as Box2D would have left it. A body one of whose contacts
// touches is taken out as Box2D does: its contacts' ends go to the game while it is taken out, and
// the game may make or destroy boxes then.

#include <box2d/box2d.h>

#include <cstdint>
#include <vector>

class KXPBatchedDisable {
public:
    void disable(b2Body& body);
    // Clears the entries of the boxes taken out since the last call: before the step, and before
    // anything reads the move buffer. Those of another world are dropped.
    void settle(b2World& world);
    bool unsettled() const { return !m_dead.empty(); }

private:
    struct Dead {
        int32 proxyId;
        // The entries before this index were made before the box was destroyed: those naming it
        // are dead. A box made later may be given the same id, its entries after it.
        int32 before;
    };
    std::vector<Dead> m_dead;
    const b2BroadPhase* m_broadPhase = nullptr;
};
