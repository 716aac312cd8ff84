#include "model/classes/KXModelObjectAssetPowerup.h"

#include "model/classes/KXModelAnimation.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelSound.h"

namespace {
const std::string& noText() {
    static const std::string empty;
    return empty;
}

template <typename T> struct Deduced { using Type = T; };

// The asset's answer, or `none` for an object without a powerup asset. The result type comes
// from the getter alone, so that text answers stay references into the asset.
template <typename Result>
Result fromPowerup(const KXModelObjectAssetPowerup& object, Result (KXBaseModelAssetPowerup::*read)() const,
                   typename Deduced<Result>::Type none) {
    const std::shared_ptr<KXModelAssetPowerup> powerup = object.assetPowerup();
    return powerup ? ((*powerup).*read)() : none;
}
} // namespace

KXModelObjectAssetPowerup::KXModelObjectAssetPowerup(const std::string& name) : KXModelObjectAsset(name) {}

KXModelObjectAssetPowerup::KXModelObjectAssetPowerup(const KXModelObjectAssetPowerup& source)
    : KXModelObjectAsset(source) {}

std::shared_ptr<KXModelAssetPowerup> KXModelObjectAssetPowerup::assetPowerup() const {
    return modelCast<KXModelAssetPowerup>(asset());
}

const std::string& KXModelObjectAssetPowerup::powerupType() const {
    return fromPowerup(*this, &KXBaseModelAssetPowerup::powerupType, noText());
}

int KXModelObjectAssetPowerup::rewardCoins() const {
    return fromPowerup(*this, &KXBaseModelAssetPowerup::rewardCoins, 0);
}

int KXModelObjectAssetPowerup::rewardPoints() const {
    return fromPowerup(*this, &KXBaseModelAssetPowerup::rewardPoints, 0);
}

bool KXModelObjectAssetPowerup::showCoinReward() const {
    return fromPowerup(*this, &KXBaseModelAssetPowerup::showCoinReward, false);
}

bool KXModelObjectAssetPowerup::showPointsReward() const {
    return fromPowerup(*this, &KXBaseModelAssetPowerup::showPointsReward, false);
}

float KXModelObjectAssetPowerup::duration() const {
    return fromPowerup(*this, &KXBaseModelAssetPowerup::duration, 0.0f);
}

int KXModelObjectAssetPowerup::appearanceChance() const {
    return fromPowerup(*this, &KXBaseModelAssetPowerup::appearanceChance, 0);
}

float KXModelObjectAssetPowerup::cameraShake() const {
    return fromPowerup(*this, &KXBaseModelAssetPowerup::cameraShake, 0.0f);
}

float KXModelObjectAssetPowerup::cameraFlash() const {
    return fromPowerup(*this, &KXBaseModelAssetPowerup::cameraFlash, 0.0f);
}

const std::string& KXModelObjectAssetPowerup::animationPlacement() const {
    return fromPowerup(*this, &KXBaseModelAssetPowerup::animationPlacement, noText());
}

const std::string& KXModelObjectAssetPowerup::animationBehaviour() const {
    return fromPowerup(*this, &KXBaseModelAssetPowerup::animationBehaviour, noText());
}

std::shared_ptr<KXModelAnimation> KXModelObjectAssetPowerup::idleAnimation() const {
    return fromPowerup(*this, &KXBaseModelAssetPowerup::idleAnimation, nullptr);
}

std::shared_ptr<KXModelAnimation> KXModelObjectAssetPowerup::startAnimation() const {
    return fromPowerup(*this, &KXBaseModelAssetPowerup::startAnimation, nullptr);
}

std::shared_ptr<KXModelSound> KXModelObjectAssetPowerup::idleSound() const {
    return fromPowerup(*this, &KXBaseModelAssetPowerup::idleSound, nullptr);
}

std::shared_ptr<KXModelSound> KXModelObjectAssetPowerup::startSound() const {
    return fromPowerup(*this, &KXBaseModelAssetPowerup::startSound, nullptr);
}

std::shared_ptr<KXModelSound> KXModelObjectAssetPowerup::endSound() const {
    return fromPowerup(*this, &KXBaseModelAssetPowerup::endSound, nullptr);
}
