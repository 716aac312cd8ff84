#include "player/physics/KXPBodyOwner.h"

#include "player/physics/KXPBodyData.h"

// Only lines that are said once for an object ask: a cast is cheap enough there.
KXPBodyOwner* KXPBodyOwner::of(b2Body* body) {
    return dynamic_cast<KXPBodyOwner*>(KXPBodyData::node(body));
}
