#pragma once

// Where a spawner's copy goes on the game field: into the object layer at the spawner's
// transform as seen from the layer, above what the spawner hangs under, with a body of its own.

#include "cocos2d.h"

#include <box2d/box2d.h>

class KXPObjectAsset;

class KXPSpawnPlacement {
public:
    // Depth of an object placed without a spawner.
    static constexpr int kUnspawnedZOrder = 1000;

    // With a spawner: the spawner's position, rotation and scale in the layer's space, and the
    // object's own z-order plus that of the spawner's parent when the parent is not the layer.
    // The layer adds the object, which then gets the layer and its body (still decorations
    // skipped). Nothing without a layer or an object.
    static void place(cocos2d::CCNode* layer, b2World* world, KXPObjectAsset* object,
                      KXPObjectAsset* spawner);
};
