#include "tools/kxdata/sample_assets.h"

#include <memory>
#include <string>

#include "cocos2d.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelAssetCharacter.h"
#include "model/classes/KXModelAssetPowerup.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelComponentHealth.h"
#include "model/classes/KXModelComponentScore.h"
#include "model/classes/KXModelObjectAssetCharacter.h"
#include "model/classes/KXModelObjectAssetPowerup.h"
#include "model/classes/KXModelObjectButton.h"
#include "model/classes/KXModelObjectButtonPowerup.h"
#include "model/classes/KXModelObjectImage.h"
#include "model/classes/KXModelScreen.h"
#include "model/classes/KXModelSound.h"
#include "model/references/KXAttributeSound.h"
#include "tools/kxdata/KXSampleGame.h"

using cocos2d::CCPoint;

namespace kxdata {

namespace {

template <class T> std::shared_ptr<T> named(const SampleGame& game, const std::string& name) {
    for (const std::shared_ptr<KXModel>& model : game.models) {
        std::shared_ptr<T> typed = modelCast<T>(model);
        if (typed && typed->name() == name) {
            return typed;
        }
    }
    return nullptr;
}

void fillRunner(const SampleGame& game, const std::shared_ptr<KXModelSound>& jumpSound) {
    auto runner = named<KXModelAssetCharacter>(game, "Runner");
    if (!runner) {
        return;
    }
    runner->autoTiltAttribute()->setValue(true, true);
    runner->gameOverDelayAttribute()->setValue(1.5f, true);
    runner->cameraShakeAttribute()->setValue(0.3f, true);
    runner->cameraFlashAttribute()->setValue(0.5f, true);
    runner->fallAttributeAttribute()->setValue(2.0f, true);
    runner->purchaseMethodAttribute()->setValue("kFree", true);
    runner->webLinkAttribute()->setValue("https://example.com/runner", true);
    runner->jumpSoundAttribute()->setValue(jumpSound, true);

    if (auto health = named<KXModelComponentHealth>(game, "Health")) {
        health->healthAttribute()->setValue(3.0f, true);
        health->livesAttribute()->setValue(2.0f, true);
        health->deathDelayAttribute()->setValue(0.5f, true);
        health->takingDamageSoundAttribute()->setValue(jumpSound, true);
    }
    for (const std::shared_ptr<KXModel>& model : game.models) {
        if (auto placed = modelCast<KXModelObjectAssetCharacter>(model)) {
            placed->setAsset(runner, true);
        }
    }
}

void fillCoin(const SampleGame& game) {
    auto coin = named<KXModelAssetPowerup>(game, "Coin");
    if (!coin) {
        return;
    }
    coin->powerupTypeAttribute()->setValue("kPowerupCoin", true);
    coin->rewardCoinsAttribute()->setValue(1.0f, true);
    coin->showCoinRewardAttribute()->setValue(true, true);
    coin->rewardPointsAttribute()->setValue(10.0f, true);
    coin->appearanceChanceAttribute()->setValue(100.0f, true);
    coin->animationPlacementAttribute()->setValue("kAboveCharacter", true);
    coin->animationBehaviourAttribute()->setValue("kOverlayBehaviour", true);

    if (auto score = named<KXModelComponentScore>(game, "Score")) {
        score->resetDistanceAttribute()->setValue(true, true);
    }
    for (const std::shared_ptr<KXModel>& model : game.models) {
        if (auto placed = modelCast<KXModelObjectAssetPowerup>(model)) {
            placed->setAsset(coin, true);
        }
    }
}

// A timed powerup whose gameplay values differ from every default, so that applying and
// restoring it shows.
std::shared_ptr<KXModelAssetPowerup> addMagnet(SampleGame& game, const std::shared_ptr<KXModelSound>& sound) {
    auto magnet = std::static_pointer_cast<KXModelAssetPowerup>(game.make("KXModelAssetPowerup", "Magnet"));
    // The media step makes it the collision shape and gives it points.
    magnet->addChild(game.make("KXModelCircle", "Magnet Shape"), true);
    magnet->powerupTypeAttribute()->setValue("kPowerupMagnet", true);
    magnet->animationBehaviourAttribute()->setValue("kReplaceBehaviour", true);
    magnet->startSoundAttribute()->setValue(sound, true);
    magnet->durationAttribute()->setValue(8.0f, true);
    magnet->appearanceChanceAttribute()->setValue(15.0f, true);
    magnet->maxSpeedAttribute()->setValue(CCPoint(30.0f, 60.0f), true);
    magnet->gravityAttribute()->setValue(CCPoint(0.0f, -40.0f), true);
    magnet->jumpForceAttribute()->setValue(CCPoint(0.0f, 24.0f), true);
    magnet->jumpCounterAttribute()->setValue(2.0f, true);
    magnet->jumpTimeoutAttribute()->setValue(0.3f, true);
    magnet->gameSpeedMinAttribute()->setValue(75.0f, true);
    magnet->gameSpeedMaxAttribute()->setValue(250.0f, true);
    magnet->speedIncreaseAttribute()->setValue(2.5f, true);
    magnet->frictionAttribute()->setValue(20.0f, true);
    magnet->timeWarpAttribute()->setValue(50.0f, true);
    magnet->velocityDragAttribute()->setValue(0.9f, true);
    magnet->rotationDragAttribute()->setValue(0.5f, true);
    magnet->bounceForceAttribute()->setValue(CCPoint(4.0f, 6.0f), true);
    magnet->bounceAttribute()->setValue(30.0f, true);
    magnet->scoreMultiplierAttribute()->setValue(2.0f, true);
    magnet->airDragAttribute()->setValue(CCPoint(20.0f, 50.0f), true);
    magnet->platformFrictionAttribute()->setValue(20.0f, true);
    return magnet;
}

void fillButtons(SampleGame& game, const std::shared_ptr<KXModelSound>& sound,
                 const std::shared_ptr<KXModelAssetPowerup>& magnet) {
    if (auto play = named<KXModelObjectButton>(game, "Play")) {
        play->actionAttribute()->setValue("kBackToButton", true);
        play->backToWorldAttribute()->setValue("Game Field Screen", true);
        play->intervalAttribute()->setValue(3.0f, true);
        play->clickSoundAttribute()->setValue(sound, true);
    }
    if (auto splash = named<KXModelObjectImage>(game, "Splash")) {
        splash->autohideAttribute()->setValue(2.0f, true);
        splash->setStickToEdge(false);
    }
    auto shop = named<KXModelScreen>(game, "Shop Screen");
    if (!shop) {
        return;
    }
    auto button = std::static_pointer_cast<KXModelObjectButtonPowerup>(
        game.make("KXModelObjectButtonPowerup", "Magnet Button"));
    // The selection names the powerup by its id.
    button->actionAttribute()->setValue(std::to_string(magnet->id()), true);
    button->layeringAttribute()->setValue("kAboveCharacter", true);
    button->labelOffsetAttribute()->setValue(CCPoint(12.0f, -8.0f), true);
    button->maxRefillAttribute()->setValue(2.0f, true);
    button->refillTimeoutAttribute()->setValue(5.0f, true);
    button->releaseSoundAttribute()->setValue(sound, true);
    shop->addChild(button, true);
}

} // namespace

void addSampleAssets(SampleGame& game) {
    std::shared_ptr<KXModelSound> sound = named<KXModelSound>(game, "Jump Sound");
    fillRunner(game, sound);
    fillCoin(game);
    std::shared_ptr<KXModelAssetPowerup> magnet = addMagnet(game, sound);
    fillButtons(game, sound, magnet);
}

} // namespace kxdata
