#pragma once

// The side test of a one-way platform: a platform whose collision shape carries a one-way vector
// is solid for objects that meet it on the side that vector points to (within a quarter turn
// either way) and lets everything else pass until the contact ends.

#include "cocos2d.h"

#include <box2d/box2d.h>

class KXPOneWayPlatform {
public:
    // `oneWay`: the shape's vector (no length: solid from every side). `normal`: the contact
    // normal in the platform body's frame, pointing from the platform to the other object.
    // Without a normal (length 0) the other object's velocity, in the same frame, stands in:
    // an object moving up arrives from below.
    static bool isFromSolidSide(const cocos2d::CCPoint& oneWay, b2Vec2 normal, b2Vec2 otherVelocity);

    // The contact's world-manifold normal turned so that it points away from `body`, in the
    // body's frame; (0, 0) without a contact or when the manifold has no points (sensors).
    static b2Vec2 contactNormal(b2Contact* contact, const b2Body* body);
};
