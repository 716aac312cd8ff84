#pragma once

// An invisible gate that lets "Passed Amount" character contacts through and removes the
// character of every contact after that. The count only grows while the gate lives.

#include "player/objects/assets/KXPObjectAsset.h"

#include <memory>

class KXModelObjectGatekeeper;

class KXPObjectAssetGatekeeper : public KXPObjectAsset {
public:
    explicit KXPObjectAssetGatekeeper(const std::shared_ptr<KXModelObjectGatekeeper>& model);

    int passedCount() const { return m_passedCount; }

    // A weightless dynamic sensor.
    void addToWorld(b2World* world, bool skipStill) override;
    // Counts a character's contact; past the amount the character goes in its next update.
    void beginContact(KXPObjectAsset* other, b2Contact* contact, bool began) override;

private:
    int m_passedCount = 0;
};
