#include "model/classes/KXModelObjectAssetPowerup.h"

#include "model/classes/KXModelAnimation.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelSound.h"

namespace {
const std::string& noText()
{
    static const std::string empty;
    return empty;
}
} // namespace

std::shared_ptr<KXModel> KXModelObjectAssetPowerup::create()
{
    return KXModel::makeShared<KXModelObjectAssetPowerup>(kDefaultObjectName);
}

std::shared_ptr<KXModel> KXModelObjectAssetPowerup::createCopy(const KXModelObjectAssetPowerup& source)
{
    return KXModel::makeShared<KXModelObjectAssetPowerup>(source);
}

KXModelObjectAssetPowerup::KXModelObjectAssetPowerup(const std::string& name) : KXModelObjectAsset(name) {}

KXModelObjectAssetPowerup::KXModelObjectAssetPowerup(const KXModelObjectAssetPowerup& source)
    : KXModelObjectAsset(source)
{
}

std::shared_ptr<KXModel> KXModelObjectAssetPowerup::clone(bool deep, bool registerClone) const
{
    return finishClone(createCopy(*this), deep, registerClone);
}

std::shared_ptr<KXModelAssetPowerup> KXModelObjectAssetPowerup::assetPowerup() const
{
    return modelCast<KXModelAssetPowerup>(asset());
}

const std::string& KXModelObjectAssetPowerup::powerupType() const
{
    const std::shared_ptr<KXModelAssetPowerup> powerup = assetPowerup();
    return powerup ? powerup->powerupType() : noText();
}

int KXModelObjectAssetPowerup::rewardCoins() const
{
    const std::shared_ptr<KXModelAssetPowerup> powerup = assetPowerup();
    return powerup ? powerup->rewardCoins() : 0;
}

int KXModelObjectAssetPowerup::rewardPoints() const
{
    const std::shared_ptr<KXModelAssetPowerup> powerup = assetPowerup();
    return powerup ? powerup->rewardPoints() : 0;
}

bool KXModelObjectAssetPowerup::showCoinReward() const
{
    const std::shared_ptr<KXModelAssetPowerup> powerup = assetPowerup();
    return powerup ? powerup->showCoinReward() : false;
}

bool KXModelObjectAssetPowerup::showPointsReward() const
{
    const std::shared_ptr<KXModelAssetPowerup> powerup = assetPowerup();
    return powerup ? powerup->showPointsReward() : false;
}

float KXModelObjectAssetPowerup::duration() const
{
    const std::shared_ptr<KXModelAssetPowerup> powerup = assetPowerup();
    return powerup ? powerup->duration() : 0.0f;
}

int KXModelObjectAssetPowerup::appearanceChance() const
{
    const std::shared_ptr<KXModelAssetPowerup> powerup = assetPowerup();
    return powerup ? powerup->appearanceChance() : 0;
}

float KXModelObjectAssetPowerup::cameraShake() const
{
    const std::shared_ptr<KXModelAssetPowerup> powerup = assetPowerup();
    return powerup ? powerup->cameraShake() : 0.0f;
}

float KXModelObjectAssetPowerup::cameraFlash() const
{
    const std::shared_ptr<KXModelAssetPowerup> powerup = assetPowerup();
    return powerup ? powerup->cameraFlash() : 0.0f;
}

const std::string& KXModelObjectAssetPowerup::animationPlacement() const
{
    const std::shared_ptr<KXModelAssetPowerup> powerup = assetPowerup();
    return powerup ? powerup->animationPlacement() : noText();
}

const std::string& KXModelObjectAssetPowerup::animationBehaviour() const
{
    const std::shared_ptr<KXModelAssetPowerup> powerup = assetPowerup();
    return powerup ? powerup->animationBehaviour() : noText();
}

std::shared_ptr<KXModelAnimation> KXModelObjectAssetPowerup::idleAnimation() const
{
    const std::shared_ptr<KXModelAssetPowerup> powerup = assetPowerup();
    return powerup ? powerup->idleAnimation() : nullptr;
}

std::shared_ptr<KXModelAnimation> KXModelObjectAssetPowerup::startAnimation() const
{
    const std::shared_ptr<KXModelAssetPowerup> powerup = assetPowerup();
    return powerup ? powerup->startAnimation() : nullptr;
}

std::shared_ptr<KXModelSound> KXModelObjectAssetPowerup::idleSound() const
{
    const std::shared_ptr<KXModelAssetPowerup> powerup = assetPowerup();
    return powerup ? powerup->idleSound() : nullptr;
}

std::shared_ptr<KXModelSound> KXModelObjectAssetPowerup::startSound() const
{
    const std::shared_ptr<KXModelAssetPowerup> powerup = assetPowerup();
    return powerup ? powerup->startSound() : nullptr;
}

std::shared_ptr<KXModelSound> KXModelObjectAssetPowerup::endSound() const
{
    const std::shared_ptr<KXModelAssetPowerup> powerup = assetPowerup();
    return powerup ? powerup->endSound() : nullptr;
}
