#pragma once

// An invisible area that changes every unit of one obstacle asset that enters it: its velocities,
// position, rotation and scale, each by the model's one operation ("kAdd", "kMultiply",
// "kReplace") with the model's values; blank values and axes are left alone. Position and
// rotation go through the unit's change records, applied by its next update, as the contact comes
// from inside the physics step; velocities and the node's scale change at once.

#include "player/objects/assets/KXPObjectAsset.h"

#include <memory>
#include <string>

class KXModelObjectLogic;

class KXPObjectAssetLogic : public KXPObjectAsset {
public:
    explicit KXPObjectAssetLogic(const std::shared_ptr<KXModelObjectLogic>& model);

    // "kAdd" gives current + value, "kMultiply" current x value, "kReplace" value; any other
    // operation keeps the current value.
    static float applyOperation(const std::string& operation, float current, float value);
    // Adding 0 or multiplying by 1 changes nothing and is not even requested.
    static bool changesNothing(const std::string& operation, float value);

    // A weightless dynamic sensor.
    void addToWorld(b2World* world, bool skipStill) override;
    // Changes an entering unit of the affected asset; no contact listeners, no damage.
    void beginContact(KXPObjectAsset* other, b2Contact* contact, bool began) override;
};
