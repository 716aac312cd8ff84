#include "player/physics/KXPBodyOwner.h"

#include "player/physics/KXPBodyData.h"

// Only lines said once for an object and fixtures destroyed (looks, turns, slides) ask: a cast is
// cheap enough there.
KXPBodyOwner* KXPBodyOwner::of(b2Body* body) {
    return dynamic_cast<KXPBodyOwner*>(KXPBodyData::node(body));
}
