#pragma once

// An invisible area that opens another screen (the model's name is its key) when a live
// character touches it, optionally pausing the game world, as a plain switch or as a checkpoint
// start. It fires through its pending state, outside the physics step, and is ready again on its
// next update.

#include "player/objects/assets/KXPObjectAsset.h"

#include <memory>

class KXModelObjectScreenJump;
class KXPLevelField;

class KXPObjectAssetScreenJump : public KXPObjectAsset {
public:
    explicit KXPObjectAssetScreenJump(const std::shared_ptr<KXModelObjectScreenJump>& model);

    // A weightless dynamic sensor.
    void addToWorld(b2World* world, bool skipStill) override;
    // A live character asks for state 1.
    void beginContact(KXPObjectAsset* other, b2Contact* contact, bool began) override;
    // State 1 switches the current game field's screen, then asks for state 0.
    void setState(int32_t state) override;
    // The switch itself, on that field.
    void jump(KXPLevelField& field);
};
