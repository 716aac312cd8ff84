#pragma once

#include "model/classes/KXModelAssetPowerup.h"
#include "model/classes/KXModelObjectAsset.h"

#include <memory>
#include <string>

class KXModelAnimation;

// A collectable powerup placed in a scene. Everything that describes it lives in its powerup
// asset; the getters read through to that asset and answer 0, false, an empty text or an
// empty pointer when the object has no powerup asset.
class KXModelObjectAssetPowerup : public KXModelObjectAsset {
    KX_MODEL_IDENTITY(KXModelObjectAssetPowerup, KXModelObjectAsset)
    KX_MODEL_CREATE(KXModelObjectAssetPowerup)
    KX_MODEL_CLONE(KXModelObjectAssetPowerup)

public:
    static constexpr const char* kDefaultObjectName = "";

    explicit KXModelObjectAssetPowerup(const std::string& name);
    KXModelObjectAssetPowerup(const KXModelObjectAssetPowerup& source);

    // The asset when it is exactly a powerup asset, else empty.
    std::shared_ptr<KXModelAssetPowerup> assetPowerup() const;

    const std::string& powerupType() const;
    int rewardCoins() const;
    int rewardPoints() const;
    bool showCoinReward() const;
    bool showPointsReward() const;
    float duration() const;
    int appearanceChance() const;
    float cameraShake() const;
    float cameraFlash() const;
    const std::string& animationPlacement() const;
    const std::string& animationBehaviour() const;
    std::shared_ptr<KXModelAnimation> idleAnimation() const;
    std::shared_ptr<KXModelAnimation> startAnimation() const;
    std::shared_ptr<KXModelSound> idleSound() const override;
    std::shared_ptr<KXModelSound> startSound() const;
    std::shared_ptr<KXModelSound> endSound() const;
};
