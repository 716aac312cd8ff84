#include "tools/kxdata/demo/demo_character.h"

#include <memory>
#include <string>
#include <vector>

#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/classes/KXModelAnimation.h"
#include "model/classes/KXModelAssetCharacter.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelComponentCharacterGameplaySettings.h"
#include "model/classes/KXModelGeneralSettings.h"
#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelObjectAssetCharacter.h"
#include "model/classes/KXModelObjectImage.h"
#include "model/classes/KXModelPolygon.h"
#include "model/classes/KXModelScreen.h"
#include "model/classes/KXModelSpriteContainer.h"
#include "model/references/KXAttributeAnimation.h"
#include "model/references/KXAttributeShape.h"
#include "model/references/KXAttributeSound.h"
#include "tools/kxdata/demo/demo_game.h"
#include "tools/kxdata/demo/demo_units.h"

using cocos2d::CCPoint;
using cocos2d::CCSize;

namespace kxdata {
namespace demo {

namespace {

// --- pictures: 64 x 80, the hero facing right ---

constexpr int kHeroWidth = 64;
constexpr int kHeroHeight = 80;
const Colour kBody{230, 80, 70, 255};
const Colour kBodyShade{190, 55, 50, 255};
const Colour kBoot{60, 40, 40, 255};
const Colour kWhite{255, 255, 255, 255};
const Colour kPupil{30, 30, 40, 255};

// What changes between the frames of a look.
struct Pose {
    int lift = 0;      // the body rises (negative: sinks) by this many pixels
    int frontFoot = 0; // horizontal offsets of the feet
    int backFoot = 0;
    int frontFootUp = 0; // feet lifted off the ground
    int backFootUp = 0;
    bool blink = false;
    bool gun = false;
    bool flash = false;
    bool tucked = false; // feet pulled up under the body (in the air)
};

Canvas heroCanvas(const Pose& pose) {
    Canvas canvas(kHeroWidth, kHeroHeight);
    const int top = 14 - pose.lift;
    const int footY = pose.tucked ? 58 - pose.lift : 66;
    canvas.roundedRect(10 + pose.backFoot, footY - pose.backFootUp, 14, 12, 5.0f, kBoot);
    canvas.roundedRect(8, top, 48, 56, 16.0f, kBody);
    canvas.roundedRect(8, top + 40, 48, 16, 8.0f, kBodyShade);
    canvas.roundedRect(36 + pose.frontFoot, footY - pose.frontFootUp, 14, 12, 5.0f, kBoot);
    if (pose.blink) {
        canvas.fillRect(33, top + 17, 16, 3, kPupil);
    } else {
        canvas.disc(40.0f, static_cast<float>(top + 18), 9.0f, kWhite);
        canvas.disc(43.0f, static_cast<float>(top + 18), 4.0f, kPupil);
    }
    if (pose.gun) {
        canvas.fillRect(46, top + 30, 16, 7, Colour{70, 72, 85, 255});
        canvas.fillRect(44, top + 33, 6, 9, Colour{50, 52, 62, 255});
    }
    if (pose.flash) {
        canvas.disc(60.0f, static_cast<float>(top + 33), 4.0f, Colour{255, 230, 120, 255});
    }
    return canvas;
}

Canvas pelletCanvas() {
    Canvas canvas(14, 10);
    canvas.roundedRect(0, 0, 14, 10, 5.0f, Colour{255, 200, 60, 255});
    canvas.roundedRect(3, 2, 6, 3, 1.5f, Colour{255, 245, 200, 255});
    return canvas;
}

// --- models ---

// One picture whose container runs through the poses, `framesPerSecond` of them a second.
std::shared_ptr<KXModelAnimation> lookAnimation(DemoGame& game, const std::string& name,
                                                const std::vector<Pose>& poses, float framesPerSecond) {
    auto frames = game.make<KXModelSpriteContainer>("KXModelSpriteContainer", name + " Frames");
    // A frame lasts 1/30 s divided by the container's speed.
    frames->animationSpeedAttribute()->setValue(framesPerSecond / 30.0f, true);
    for (size_t index = 0; index < poses.size(); ++index) {
        const auto picture = game.picture(name + " " + std::to_string(index + 1), heroCanvas(poses[index]));
        // The sprite stays in its own one-picture container too: that one goes to the atlas.
        frames->addChild(picture->sprites().front(), true);
    }
    auto animation = game.make<KXModelAnimation>("KXModelAnimation", name);
    animation->speedAttribute()->setValue(1.0f, true);
    animation->durationAttribute()->setValue(static_cast<float>(poses.size()) / framesPerSecond, true);
    animation->loopAttribute()->setValue(true, true);
    auto image = game.make<KXModelObjectImage>("KXModelObjectImage", name + " Picture");
    image->setImage(frames);
    image->autohideAttribute()->setValue(0.0f, true);
    animation->addChild(image, true);
    return animation;
}

std::shared_ptr<KXModelAnimation> pelletAnimation(DemoGame& game) {
    auto animation = game.make<KXModelAnimation>("KXModelAnimation", "Hero Pellet");
    animation->speedAttribute()->setValue(1.0f, true);
    animation->durationAttribute()->setValue(1.0f, true);
    animation->loopAttribute()->setValue(true, true);
    auto image = game.make<KXModelObjectImage>("KXModelObjectImage", "Hero Pellet Picture");
    image->setImage(game.picture("Hero Pellet", pelletCanvas()));
    image->autohideAttribute()->setValue(0.0f, true);
    animation->addChild(image, true);
    return animation;
}

template <class Attribute, class Value> void set(KXModel& model, const char* name, const Value& value) {
    static_cast<Attribute*>(model.attribute(name))->setValue(value, true);
}

// Runs at 8 m/s, jumps from the ground and once more in the air, higher while the key is held.
std::shared_ptr<KXModelComponentCharacterGameplaySettings> heroPhysics(DemoGame& game) {
    auto physics = game.make<KXModelComponentCharacterGameplaySettings>(
        "KXModelComponentCharacterGameplaySettings", "Hero Physics");
    set<KXAttributePoint>(*physics, "Max Speed", CCPoint(8.0f, 0.0f));
    set<KXAttributePoint>(*physics, "Bounce Force", CCPoint(0.0f, 0.0f));
    set<KXAttributePoint>(*physics, "Jump Force", CCPoint(0.0f, 10.0f));
    set<KXAttributeFloat>(*physics, "Jump Timeout", 0.25f);
    set<KXAttributeFloat>(*physics, "Jump Counter", 2.0f);
    set<KXAttributeFloat>(*physics, "Ground Threshold", 0.2f);
    set<KXAttributeBool>(*physics, "Jump From Ground", true);
    set<KXAttributeFloat>(*physics, "Platform Friction", 1.0f);
    set<KXAttributeFloat>(*physics, "Rotation Drag", 1.0f);
    set<KXAttributePoint>(*physics, "Air Drag", CCPoint(0.99f, 1.0f));
    set<KXAttributeBool>(*physics, "Direct Movement", false);
    set<KXAttributeBool>(*physics, "Forced Movement", false);
    set<KXAttributeBool>(*physics, "Fixed Rotation", true);
    set<KXAttributeBool>(*physics, "Image Direction", true);
    return physics;
}

std::shared_ptr<KXModelLevelSection> unitsSection(KXModelScreen& scene) {
    for (const std::shared_ptr<KXModel>& child : scene.children()) {
        auto section = modelCast<KXModelLevelSection>(child);
        if (section && section->name() == kDemoUnitsSection) {
            return section;
        }
    }
    return nullptr;
}

} // namespace

void addDemoCharacter(DemoGame& game, KXModelScreen& scene) {
    const std::shared_ptr<KXModelLevelSection> section = unitsSection(scene);
    if (!section) {
        return;
    }
    auto hero = game.make<KXModelAssetCharacter>("KXModelAssetCharacter", kDemoHeroName);
    auto shape = game.make<KXModelPolygon>("KXModelPolygon", "Hero Shape");
    // The body and the boots, not the air above the head.
    shape->replaceWithBox(CCSize(44.0f, 66.0f), CCPoint(0.0f, -7.0f), true);
    hero->collisionShapeAttribute()->setValue(shape, true);

    Pose stand;
    Pose blink;
    blink.blink = true;
    hero->defaultAnimationAttribute()->setValue(
        lookAnimation(game, "Hero Idle", {stand, stand, stand, stand, stand, blink}, 4.0f), true);
    std::vector<Pose> run(4);
    run[0].frontFoot = 6, run[0].backFoot = -6, run[0].backFootUp = 6;
    run[1].lift = 2;
    run[2].frontFoot = -6, run[2].backFoot = 6, run[2].frontFootUp = 6;
    run[3].lift = 2;
    hero->moveAnimationAttribute()->setValue(lookAnimation(game, "Hero Run", run, 10.0f), true);
    std::vector<Pose> air(2);
    air[0].tucked = true, air[0].lift = 4;
    air[1].tucked = true, air[1].lift = 4, air[1].frontFoot = 3, air[1].backFoot = -3;
    hero->jumpAnimationAttribute()->setValue(lookAnimation(game, "Hero Jump", air, 6.0f), true);
    std::vector<Pose> aim(2);
    aim[0].gun = true;
    aim[1].gun = true, aim[1].flash = true;
    hero->shootingAnimationAttribute()->setValue(lookAnimation(game, "Hero Shoot", aim, 8.0f), true);
    hero->bulletAnimationAttribute()->setValue(pelletAnimation(game), true);

    hero->jumpSoundAttribute()->setValue(
        game.sound("Hero Jump", {"synth 0.15 sine 300:900 fade 0 0.15 0.08 vol 0.5"}), true);
    hero->groundCollisionAttribute()->setValue(
        game.sound("Hero Land", {"synth 0.06 sine 160:90 fade 0 0.06 0.04 vol 0.5"}), true);
    hero->shootSoundAttribute()->setValue(
        game.sound("Hero Shot", {"synth 0.06 square 1200:500 fade 0 0.06 0.04 vol 0.3"}), true);
    hero->defeatedSoundAttribute()->setValue(
        game.sound("Hero Down", {"synth 0.5 sawtooth 600:120 fade 0 0.5 0.3 vol 0.5"}), true);
    set<KXAttributeFloat>(*hero, "Camera Flash", 0.4f);
    set<KXAttributeFloat>(*hero, "Camera Shake", 0.3f);
    hero->addChild(heroPhysics(game), true);

    // Space finishes the run on the heads-up screen, so the hero shoots with K, beside J.
    if (game.settings) {
        set<KXAttributeKey>(*game.settings, "Shoot Key", static_cast<int>('K'));
    }

    auto placed = game.make<KXModelObjectAssetCharacter>("KXModelObjectAssetCharacter", kDemoHeroName);
    placed->setAsset(hero);
    // Standing on the meadow (its top at 80), left of the crabs.
    placed->positionAttribute()->setValue(CCPoint(230.0f, 122.0f), true);
    placed->zDepthAttribute()->setValue(10, true);
    section->addChild(placed, true);
}

} // namespace demo
} // namespace kxdata
