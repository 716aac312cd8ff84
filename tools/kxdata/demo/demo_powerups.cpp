#include "tools/kxdata/demo/demo_powerups.h"

#include <cmath>
#include <memory>
#include <stdexcept>
#include <string>

#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelAnimation.h"
#include "model/classes/KXModelAssetPowerup.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelCircle.h"
#include "model/classes/KXModelComponentCharacterGameplaySettings.h"
#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelObjectAssetPowerup.h"
#include "model/classes/KXModelObjectButtonPowerup.h"
#include "model/classes/KXModelObjectButtonPurchase.h"
#include "model/classes/KXModelObjectEventObserver.h"
#include "model/classes/KXModelObjectImage.h"
#include "model/classes/KXModelScreen.h"
#include "model/classes/KXModelScreenScene.h"
#include "model/references/KXAttributeAnimation.h"
#include "model/references/KXAttributeShape.h"
#include "model/references/KXAttributeSound.h"
#include "tools/kxdata/demo/demo_game.h"
#include "tools/kxdata/demo/demo_sections.h"
#include "tools/kxdata/demo/demo_units.h"

using cocos2d::CCPoint;

namespace kxdata {
namespace demo {

namespace {

// --- pictures ---

Canvas coinCanvas() {
    Canvas canvas(32, 32);
    canvas.disc(16.0f, 16.0f, 15.0f, Colour{200, 140, 20, 255});
    canvas.disc(16.0f, 16.0f, 11.0f, Colour{250, 210, 60, 255});
    canvas.fillRect(14, 8, 4, 16, Colour{255, 240, 150, 255});
    return canvas;
}

// A sparkle burst left where a coin was.
Canvas sparkleCanvas() {
    Canvas canvas(40, 40);
    const Colour light{255, 245, 170, 220};
    canvas.fillRect(18, 2, 4, 36, light);
    canvas.fillRect(2, 18, 36, 4, light);
    canvas.disc(20.0f, 20.0f, 7.0f, Colour{255, 255, 230, 255});
    return canvas;
}

Canvas magnetCanvas() {
    Canvas canvas(40, 40);
    // Violet, so that nothing takes it for the (red) hero.
    const Colour violet{140, 70, 200, 255};
    canvas.disc(20.0f, 18.0f, 16.0f, violet);
    canvas.disc(20.0f, 18.0f, 8.0f, Colour{0, 0, 0, 0});
    canvas.fillRect(4, 18, 32, 22, Colour{0, 0, 0, 0});
    canvas.fillRect(4, 18, 8, 14, violet);
    canvas.fillRect(28, 18, 8, 14, violet);
    canvas.fillRect(4, 32, 8, 6, Colour{220, 220, 230, 255});
    canvas.fillRect(28, 32, 8, 6, Colour{220, 220, 230, 255});
    return canvas;
}

// A faint ring around the hero while the magnet pulls.
Canvas pullCanvas() {
    Canvas canvas(120, 120);
    canvas.disc(60.0f, 60.0f, 58.0f, Colour{170, 110, 240, 70});
    canvas.disc(60.0f, 60.0f, 52.0f, Colour{0, 0, 0, 0});
    return canvas;
}

Canvas shieldCanvas() {
    Canvas canvas(40, 44);
    const Colour blue{60, 120, 230, 255};
    canvas.roundedRect(4, 2, 32, 26, 6.0f, blue);
    canvas.disc(20.0f, 26.0f, 16.0f, blue);
    canvas.fillRect(18, 8, 4, 26, Colour{220, 235, 255, 255});
    canvas.fillRect(10, 16, 20, 4, Colour{220, 235, 255, 255});
    return canvas;
}

// The bubble the hero wears while shielded.
Canvas bubbleCanvas() {
    Canvas canvas(110, 110);
    canvas.disc(55.0f, 55.0f, 54.0f, Colour{120, 190, 255, 90});
    canvas.disc(55.0f, 55.0f, 48.0f, Colour{160, 210, 255, 50});
    canvas.disc(38.0f, 36.0f, 8.0f, Colour{255, 255, 255, 140});
    return canvas;
}

// A pole with a pennant: grey while it waits, green once the hero passed it.
Canvas flagCanvas(Colour pennant) {
    Canvas canvas(40, 80);
    canvas.fillRect(6, 4, 4, 76, Colour{90, 80, 70, 255});
    canvas.disc(8.0f, 4.0f, 4.0f, Colour{250, 210, 60, 255});
    for (int row = 0; row < 24; ++row) {
        const int width = 30 - row * 30 / 24 / 2;
        canvas.fillRect(10, 8 + row, width, 1, pennant);
    }
    canvas.roundedRect(0, 74, 18, 6, 2.0f, Colour{60, 50, 45, 255});
    return canvas;
}

Canvas featherCanvas() {
    Canvas canvas(40, 40);
    const Colour white{245, 245, 255, 255};
    for (int step = 0; step < 14; ++step) {
        const float t = static_cast<float>(step);
        canvas.disc(10.0f + t * 1.6f, 32.0f - t * 1.8f, 7.0f - std::fabs(t - 7.0f) * 0.6f, white);
    }
    for (int step = 0; step < 30; ++step) {
        canvas.fillRect(6 + step * 22 / 30, 36 - step * 30 / 30, 2, 2, Colour{120, 150, 220, 255});
    }
    return canvas;
}

// Drifting motes around the hero while it floats.
Canvas floatCanvas() {
    Canvas canvas(100, 100);
    for (int index = 0; index < 8; ++index) {
        const float angle = static_cast<float>(index) * 0.785f;
        canvas.disc(50.0f + 40.0f * std::cos(angle), 50.0f + 40.0f * std::sin(angle), 5.0f,
                    Colour{230, 240, 255, 150});
    }
    return canvas;
}

// --- models ---

std::shared_ptr<KXModelAnimation> lookOf(DemoGame& game, const std::string& name, Canvas canvas, bool loop,
                                         float duration) {
    auto animation = game.make<KXModelAnimation>("KXModelAnimation", name);
    animation->speedAttribute()->setValue(1.0f, true);
    animation->durationAttribute()->setValue(duration, true);
    animation->loopAttribute()->setValue(loop, true);
    auto image = game.make<KXModelObjectImage>("KXModelObjectImage", name + " Picture");
    image->setImage(game.picture(name, std::move(canvas)));
    image->autohideAttribute()->setValue(0.0f, true);
    animation->addChild(image, true);
    return animation;
}

template <class Attribute, class Value> void set(KXModel& model, const char* name, const Value& value) {
    auto* attribute = dynamic_cast<Attribute*>(model.attribute(name));
    if (attribute == nullptr) {
        throw std::runtime_error(std::string("the demo's powerups miss the attribute ") + name);
    }
    attribute->setValue(value, true);
}

std::shared_ptr<KXModelAssetPowerup> powerup(DemoGame& game, const std::string& name, const std::string& type,
                                             Canvas idle, float radius) {
    auto asset = game.make<KXModelAssetPowerup>("KXModelAssetPowerup", name);
    asset->idleAnimationAttribute()->setValue(lookOf(game, name + " Idle", std::move(idle), true, 1.0f),
                                              true);
    asset->powerupTypeAttribute()->setValue(type, true);
    // Always there (the chance is a percentage).
    asset->appearanceChanceAttribute()->setValue(100.0f, true);
    auto round = game.make<KXModelCircle>("KXModelCircle", name + " Round");
    round->addPoint(CCPoint(0.0f, 0.0f), true);
    round->addPoint(CCPoint(radius, 0.0f), true);
    asset->collisionShapeAttribute()->setValue(round, true);
    return asset;
}

void placeIn(DemoGame& game, KXModelLevelSection& section, const std::shared_ptr<KXModelAssetPowerup>& asset,
             const std::string& name, CCPoint position) {
    auto placed = game.make<KXModelObjectAssetPowerup>("KXModelObjectAssetPowerup", name);
    placed->setAsset(asset);
    placed->positionAttribute()->setValue(position, true);
    placed->zDepthAttribute()->setValue(9, true);
    section.addChild(placed, true);
}

std::shared_ptr<KXModelLevelSection> sectionNamed(const DemoGame& game, const std::string& name) {
    for (const std::shared_ptr<KXModel>& model : game.models) {
        if (auto section = modelCast<KXModelLevelSection>(model)) {
            if (section->name() == name) {
                return section;
            }
        }
    }
    throw std::runtime_error("the demo has no level section named " + name);
}

// A gameplay powerup writes every gameplay value at once: these are the values the game plays
// with (the scene's and the hero's, in the powerup's own units), so that only what a powerup
// changes afterwards differs.
void keepGameplay(const DemoGame& game, KXModelAssetPowerup& asset) {
    KXModelScreenScene* scene = nullptr;
    std::shared_ptr<KXModelComponentCharacterGameplaySettings> hero;
    for (const std::shared_ptr<KXModel>& model : game.models) {
        if (!scene) {
            scene = dynamic_cast<KXModelScreenScene*>(model.get());
        }
        if (!hero) {
            hero = modelCast<KXModelComponentCharacterGameplaySettings>(model);
        }
    }
    if (!scene || !hero) {
        throw std::runtime_error("the demo's gameplay powerup needs the scene and the hero first");
    }
    asset.gravityAttribute()->setValue(scene->gravity(), true);
    asset.timeWarpAttribute()->setValue(scene->timeWarp() * 50.0f, true);
    asset.gameSpeedMinAttribute()->setValue(scene->gameSpeedMin() * 25.0f, true);
    asset.gameSpeedMaxAttribute()->setValue(scene->gameSpeedMax() * 25.0f, true);
    asset.speedIncreaseAttribute()->setValue(scene->speedIncrease() * 25.0f, true);
    asset.frictionAttribute()->setValue(scene->friction() * 100.0f, true);
    asset.velocityDragAttribute()->setValue(scene->velocityDrag(), true);
    asset.bounceAttribute()->setValue(scene->bounce() * 100.0f, true);
    asset.scoreMultiplierAttribute()->setValue(scene->scoreMultiplier(), true);
    asset.gameDirectionAttribute()->setValue(scene->gameDirection(), true);
    const CCPoint speed = hero->maxSpeed();
    const CCPoint jump = hero->jumpForce();
    const CCPoint bounce = hero->bounceForce();
    const CCPoint air = hero->airDrag();
    asset.maxSpeedAttribute()->setValue(CCPoint(speed.x * 3.0f, speed.y * 3.0f), true);
    asset.jumpForceAttribute()->setValue(CCPoint(jump.x * 4.0f, jump.y * 4.0f), true);
    asset.bounceForceAttribute()->setValue(CCPoint(bounce.x * 2.0f, bounce.y * 2.0f), true);
    asset.airDragAttribute()->setValue(CCPoint((1.0f - air.x) * 100.0f, (1.0f - air.y) * 100.0f), true);
    asset.jumpCounterAttribute()->setValue(hero->jumpCounter(), true);
    asset.jumpTimeoutAttribute()->setValue(hero->jumpTimeout(), true);
    asset.groundThresholdAttribute()->setValue(hero->groundThreshold(), true);
    asset.jumpFromGroundAttribute()->setValue(hero->jumpFromGround(), true);
    asset.rightLeanForceAttribute()->setValue(hero->rightLeanForce() * 100.0f, true);
    asset.leftLeanForceAttribute()->setValue(hero->leftLeanForce() * 100.0f, true);
    asset.rotationDragAttribute()->setValue(hero->rotationDrag(), true);
    asset.platformFrictionAttribute()->setValue(hero->platformFriction() * 40.0f, true);
    asset.fixedRotationAttribute()->setValue(hero->fixedRotation(), true);
}

// Flags at the start of every section the level lays after the meadow: passing one stores the
// place a run can go on from (the end screen's CHECKPOINT). A feather on the hill lightens the
// world for a few seconds.
void addCheckpointsAndFeather(DemoGame& game) {
    auto flag = powerup(game, kDemoCheckpointAsset, "kPowerupCheckpoint",
                        flagCanvas(Colour{150, 150, 160, 255}), 24.0f);
    flag->startAnimationAttribute()->setValue(
        lookOf(game, "Checkpoint Reached", flagCanvas(Colour{80, 210, 90, 255}), true, 1.0f), true);
    flag->startSoundAttribute()->setValue(
        game.sound("Checkpoint Chime", {"synth 0.12 sine 660 fade 0 0.12 0.06 vol 0.4",
                                        "synth 0.12 sine 880 fade 0 0.12 0.06 vol 0.4",
                                        "synth 0.2 sine 1100 fade 0 0.2 0.1 vol 0.4"}),
        true);
    // It stays where it was passed, raised.
    flag->durationAttribute()->setValue(1000000.0f, true);
    for (const char* name : {kDemoBeachSection, kDemoHillSection, kDemoGladeSection}) {
        placeIn(game, *sectionNamed(game, name), flag, std::string(name) + " Checkpoint",
                CCPoint(90.0f, 120.0f));
    }

    auto feather = powerup(game, kDemoFeatherAsset, "kPowerupGameplay", featherCanvas(), 18.0f);
    keepGameplay(game, *feather);
    feather->gravityAttribute()->setValue(CCPoint(0.0f, kDemoFeatherGravity), true);
    feather->durationAttribute()->setValue(6.0f, true);
    feather->startAnimationAttribute()->setValue(lookOf(game, "Feather Float", floatCanvas(), true, 1.0f),
                                                 true);
    feather->animationPlacementAttribute()->setValue("kPowerupCharacterConstraint", true);
    feather->animationBehaviourAttribute()->setValue("kOverlayBehaviour", true);
    feather->rewardPointsAttribute()->setValue(5.0f, true);
    feather->startSoundAttribute()->setValue(
        game.sound("Feather Up", {"synth 0.4 sine 500:1000 fade 0 0.4 0.2 vol 0.3"}), true);
    feather->endSoundAttribute()->setValue(
        game.sound("Feather Down", {"synth 0.3 sine 1000:500 fade 0 0.3 0.2 vol 0.3"}), true);
    placeIn(game, *sectionNamed(game, kDemoHillSection), feather, "Hill Feather", CCPoint(300.0f, 130.0f));
}

} // namespace

void addDemoPowerups(DemoGame& game) {
    auto coin = powerup(game, kDemoCoinAsset, "kPowerupCoin", coinCanvas(), 14.0f);
    coin->startAnimationAttribute()->setValue(lookOf(game, "Coin Sparkle", sparkleCanvas(), false, 0.3f),
                                              true);
    coin->rewardCoinsAttribute()->setValue(1.0f, true);
    coin->showCoinRewardAttribute()->setValue(true, true);
    coin->startSoundAttribute()->setValue(
        game.sound("Coin Ding", {"synth 0.08 sine 1320 fade 0 0.08 0.05 vol 0.4",
                                 "synth 0.12 sine 1760 fade 0 0.12 0.1 vol 0.4"}),
        true);

    auto magnet = powerup(game, kDemoMagnetAsset, "kPowerupMagnet", magnetCanvas(), 18.0f);
    magnet->durationAttribute()->setValue(6.0f, true);
    magnet->startAnimationAttribute()->setValue(lookOf(game, "Magnet Pull", pullCanvas(), true, 1.0f), true);
    magnet->animationPlacementAttribute()->setValue("kPowerupCharacterConstraint", true);
    magnet->animationBehaviourAttribute()->setValue("kOverlayBehaviour", true);
    magnet->rewardPointsAttribute()->setValue(10.0f, true);
    magnet->startSoundAttribute()->setValue(
        game.sound("Magnet Hum", {"synth 0.3 sine 220:440 fade 0 0.3 0.1 vol 0.4"}), true);
    magnet->endSoundAttribute()->setValue(
        game.sound("Magnet Off", {"synth 0.2 sine 440:220 fade 0 0.2 0.1 vol 0.3"}), true);

    auto shield = powerup(game, kDemoShieldAsset, "kPowerupInvincibility", shieldCanvas(), 18.0f);
    shield->durationAttribute()->setValue(8.0f, true);
    shield->startAnimationAttribute()->setValue(lookOf(game, "Shield Bubble", bubbleCanvas(), true, 1.0f),
                                                true);
    shield->animationPlacementAttribute()->setValue("kPowerupCharacterConstraint", true);
    shield->animationBehaviourAttribute()->setValue("kOverlayBehaviour", true);
    shield->cameraFlashAttribute()->setValue(0.2f, true);
    shield->startSoundAttribute()->setValue(
        game.sound("Shield Up", {"synth 0.4 triangle 330:660 fade 0 0.4 0.2 vol 0.4"}), true);
    shield->endSoundAttribute()->setValue(
        game.sound("Shield Down", {"synth 0.3 triangle 660:330 fade 0 0.3 0.2 vol 0.3"}), true);

    // The meadow: a row of coins ahead of the hero, the magnet before the crabs, the shield up on
    // the ledge.
    auto meadow = sectionNamed(game, kDemoUnitsSection);
    for (int index = 0; index < kDemoMeadowCoins; ++index) {
        placeIn(game, *meadow, coin, "Meadow Coin " + std::to_string(index + 1),
                CCPoint(300.0f + 40.0f * static_cast<float>(index), 110.0f));
    }
    placeIn(game, *meadow, magnet, "Meadow Magnet", CCPoint(520.0f, 110.0f));
    placeIn(game, *meadow, shield, "Meadow Shield", CCPoint(150.0f, 290.0f));
    // Coins in an arc over every section the level lays later.
    for (const char* name : {kDemoBeachSection, kDemoHillSection, kDemoGladeSection}) {
        auto section = sectionNamed(game, name);
        for (int index = 0; index < 4; ++index) {
            const float lift = index == 1 || index == 2 ? 40.0f : 0.0f;
            placeIn(game, *section, coin, std::string(name) + " Coin " + std::to_string(index + 1),
                    CCPoint(400.0f + 50.0f * static_cast<float>(index), 130.0f + lift));
        }
    }

    addCheckpointsAndFeather(game);
    // The shop sells this shield.
    for (const std::shared_ptr<KXModel>& model : game.models) {
        auto purchase = modelCast<KXModelObjectButtonPurchase>(model);
        if (purchase && purchase->name() == kDemoBuyShieldButton) {
            purchase->powerupSelectionAttribute()->setValue(std::to_string(shield->id()), true);
        }
    }

    // Game over leads from the heads-up screen to the end screen.
    ScreenNode& hud = game.screen("hud");

    // A shield in stock on the heads-up screen (S): one at the start of each run, one more
    // every minute while it is used up.
    auto shieldButton = std::static_pointer_cast<KXModelObjectButtonPowerup>(addButton(
        game, *hud.screen, "KXModelObjectButtonPowerup", "Shield Button", "SHIELD",
        std::to_string(shield->id()), Colour{60, 120, 230, 255}, CCPoint(kWidth - 170.0f, 425.0f), 5));
    shieldButton->maxRefillAttribute()->setValue(1.0f, true);
    shieldButton->refillTimeoutAttribute()->setValue(1.0f, true);
    shieldButton->refillAtStartAttribute()->setValue(true, true);
    shieldButton->layeringAttribute()->setValue("kAboveCharacter", true);
    shieldButton->labelOffsetAttribute()->setValue(CCPoint(100.0f, 60.0f), true);
    shieldButton->labelScaleAttribute()->setValue(0.6f, true);
    shieldButton->keyboardKeyAttribute()->setValue(static_cast<int>('S'), true);
    auto observer =
        game.make<KXModelObjectEventObserver>("KXModelObjectEventObserver", kDemoGameOverObserver);
    set<KXAttributeStringList>(*observer, "Event Type", std::string("kGameOver"));
    hud.screen->addChild(observer, true);
    linkPort(hud, kDemoGameOverObserver, game.screen("end"));
}

} // namespace demo
} // namespace kxdata
