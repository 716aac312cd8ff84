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
#include "model/classes/KXModelComponentCharacterIcon.h"
#include "model/classes/KXModelGeneralSettings.h"
#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelObjectAssetCharacter.h"
#include "model/classes/KXModelObjectImage.h"
#include "model/classes/KXModelPolygon.h"
#include "model/classes/KXModelScreen.h"
#include "model/classes/KXModelSound.h"
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
const Colour kBoot{60, 40, 40, 255};
const Colour kWhite{255, 255, 255, 255};
const Colour kPupil{30, 30, 40, 255};
// The plates under the character icons.
const Colour kPlate{70, 90, 140, 255};
const Colour kChosenPlate{250, 200, 60, 255};

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

// The colours that tell the characters apart.
struct Palette {
    Colour body;
    Colour shade;
};
const Palette kHeroPalette{Colour{230, 80, 70, 255}, Colour{190, 55, 50, 255}};
const Palette kMintPalette{Colour{70, 200, 150, 255}, Colour{40, 150, 110, 255}};

Canvas heroCanvas(const Pose& pose, const Palette& palette) {
    Canvas canvas(kHeroWidth, kHeroHeight);
    const Colour& kBody = palette.body;
    const Colour& kBodyShade = palette.shade;
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
                                                const std::vector<Pose>& poses, float framesPerSecond,
                                                const Palette& palette) {
    auto frames = game.make<KXModelSpriteContainer>("KXModelSpriteContainer", name + " Frames");
    // A frame lasts 1/30 s divided by the container's speed.
    frames->animationSpeedAttribute()->setValue(framesPerSecond / 30.0f, true);
    for (size_t index = 0; index < poses.size(); ++index) {
        const auto picture =
            game.picture(name + " " + std::to_string(index + 1), heroCanvas(poses[index], palette));
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

// Runs at 18 m/s, faster than the view scrolls, so that the arrows carry it forwards on
// the screen; jumps from the ground and once more in the air, higher while the key is held.
std::shared_ptr<KXModelComponentCharacterGameplaySettings> heroPhysics(DemoGame& game,
                                                                       const std::string& name, float jump) {
    auto physics = game.make<KXModelComponentCharacterGameplaySettings>(
        "KXModelComponentCharacterGameplaySettings", name + " Physics");
    set<KXAttributePoint>(*physics, "Max Speed", CCPoint(18.0f, 0.0f));
    set<KXAttributePoint>(*physics, "Bounce Force", CCPoint(0.0f, 0.0f));
    set<KXAttributePoint>(*physics, "Jump Force", CCPoint(0.0f, jump));
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

struct HeroSounds {
    std::shared_ptr<KXModelSound> jump;
    std::shared_ptr<KXModelSound> land;
    std::shared_ptr<KXModelSound> shot;
    std::shared_ptr<KXModelSound> down;
};

// The character's idle pose on a round plate, for the character selection: gold behind the
// chosen one, grey and padlocked while it is locked.
Canvas iconCanvas(const Palette& palette, Colour plate, bool locked) {
    Canvas canvas(100, 100);
    canvas.disc(50.0f, 50.0f, 48.0f, withAlpha(plate, 200));
    canvas.disc(50.0f, 50.0f, 42.0f, withAlpha(mix(plate, Colour{20, 20, 30, 255}, 0.5f), 200));
    const Palette grey{Colour{120, 120, 128, 255}, Colour{90, 90, 98, 255}};
    const Canvas figure = heroCanvas(Pose(), locked ? grey : palette);
    for (int y = 0; y < figure.height(); ++y) {
        for (int x = 0; x < figure.width(); ++x) {
            canvas.blend(x + 18, y + 8, figure.at(x, y));
        }
    }
    if (locked) {
        const Colour steel{230, 200, 90, 255};
        canvas.disc(50.0f, 52.0f, 11.0f, steel);
        canvas.disc(50.0f, 52.0f, 6.0f, Colour{0, 0, 0, 0});
        canvas.roundedRect(36, 54, 28, 22, 4.0f, steel);
        canvas.fillRect(48, 60, 4, 9, Colour{60, 50, 20, 255});
    }
    return canvas;
}

std::shared_ptr<KXModelAnimation> iconAnimation(DemoGame& game, const std::string& name, Canvas canvas) {
    auto animation = game.make<KXModelAnimation>("KXModelAnimation", name);
    animation->speedAttribute()->setValue(1.0f, true);
    animation->durationAttribute()->setValue(1.0f, true);
    animation->loopAttribute()->setValue(true, true);
    auto image = game.make<KXModelObjectImage>("KXModelObjectImage", name + " Picture");
    image->setImage(game.picture(name, std::move(canvas)));
    image->autohideAttribute()->setValue(0.0f, true);
    animation->addChild(image, true);
    return animation;
}

// A playable character: its looks in its own colours, the shared sounds and pellet, its physics.
std::shared_ptr<KXModelAssetCharacter> characterAsset(DemoGame& game, const std::string& name,
                                                      const Palette& palette, const HeroSounds& sounds,
                                                      const std::shared_ptr<KXModelAnimation>& pellet,
                                                      float jump) {
    auto hero = game.make<KXModelAssetCharacter>("KXModelAssetCharacter", name);
    auto shape = game.make<KXModelPolygon>("KXModelPolygon", name + " Shape");
    // The body and the boots, not the air above the head.
    shape->replaceWithBox(CCSize(44.0f, 66.0f), CCPoint(0.0f, -7.0f), true);
    hero->collisionShapeAttribute()->setValue(shape, true);

    Pose stand;
    Pose blink;
    blink.blink = true;
    hero->defaultAnimationAttribute()->setValue(
        lookAnimation(game, name + " Idle", {stand, stand, stand, stand, stand, blink}, 4.0f, palette), true);
    std::vector<Pose> run(4);
    run[0].frontFoot = 6, run[0].backFoot = -6, run[0].backFootUp = 6;
    run[1].lift = 2;
    run[2].frontFoot = -6, run[2].backFoot = 6, run[2].frontFootUp = 6;
    run[3].lift = 2;
    hero->moveAnimationAttribute()->setValue(lookAnimation(game, name + " Run", run, 10.0f, palette), true);
    std::vector<Pose> air(2);
    air[0].tucked = true, air[0].lift = 4;
    air[1].tucked = true, air[1].lift = 4, air[1].frontFoot = 3, air[1].backFoot = -3;
    hero->jumpAnimationAttribute()->setValue(lookAnimation(game, name + " Jump", air, 6.0f, palette), true);
    std::vector<Pose> aim(2);
    aim[0].gun = true;
    aim[1].gun = true, aim[1].flash = true;
    hero->shootingAnimationAttribute()->setValue(lookAnimation(game, name + " Shoot", aim, 8.0f, palette),
                                                 true);
    hero->bulletAnimationAttribute()->setValue(pellet, true);

    hero->jumpSoundAttribute()->setValue(sounds.jump, true);
    hero->groundCollisionAttribute()->setValue(sounds.land, true);
    hero->shootSoundAttribute()->setValue(sounds.shot, true);
    hero->defeatedSoundAttribute()->setValue(sounds.down, true);
    set<KXAttributeFloat>(*hero, "Camera Flash", 0.4f);
    set<KXAttributeFloat>(*hero, "Camera Shake", 0.3f);
    hero->addChild(heroPhysics(game, name, jump), true);

    auto icons = game.make<KXModelComponentCharacterIcon>("KXModelComponentCharacterIcon", name + " Icons");
    set<KXAttributeAnimation>(*icons, "Regular Icon",
                              iconAnimation(game, name + " Icon", iconCanvas(palette, kPlate, false)));
    set<KXAttributeAnimation>(
        *icons, "Selected Icon",
        iconAnimation(game, name + " Icon Chosen", iconCanvas(palette, kChosenPlate, false)));
    set<KXAttributeAnimation>(*icons, "Locked Icon",
                              iconAnimation(game, name + " Icon Locked", iconCanvas(palette, kPlate, true)));
    hero->addChild(icons, true);
    return hero;
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
    // One set of sounds for every character.
    HeroSounds sounds;
    sounds.jump = game.sound("Hero Jump", {"synth 0.15 sine 300:900 fade 0 0.15 0.08 vol 0.5"});
    sounds.land = game.sound("Hero Land", {"synth 0.06 sine 160:90 fade 0 0.06 0.04 vol 0.5"});
    sounds.shot = game.sound("Hero Shot", {"synth 0.06 square 1200:500 fade 0 0.06 0.04 vol 0.3"});
    sounds.down = game.sound("Hero Down", {"synth 0.5 sawtooth 600:120 fade 0 0.5 0.3 vol 0.5"});
    auto pellet = pelletAnimation(game);

    // The hero: the game's first character, free and chosen from the start.
    auto hero = characterAsset(game, kDemoHeroName, kHeroPalette, sounds, pellet, 10.0f);

    // Space finishes the run on the heads-up screen, so the hero shoots with K, beside J.
    if (game.settings) {
        set<KXAttributeKey>(*game.settings, "Shoot Key", static_cast<int>('K'));
    }

    // The level places the hero; the player swaps in whichever character is chosen.
    auto placed = game.make<KXModelObjectAssetCharacter>("KXModelObjectAssetCharacter", kDemoHeroName);
    placed->setAsset(hero);
    // Standing on the meadow (its top at 80), left of the crabs.
    placed->positionAttribute()->setValue(CCPoint(230.0f, 122.0f), true);
    placed->zDepthAttribute()->setValue(10, true);
    section->addChild(placed, true);
}

void addDemoSecondCharacter(DemoGame& game) {
    // The hero's sounds and pellet, made by addDemoCharacter.
    HeroSounds sounds;
    for (const SoundFile& sound : game.sounds) {
        const std::string& name = sound.model->name();
        if (name == "Hero Jump") {
            sounds.jump = sound.model;
        } else if (name == "Hero Land") {
            sounds.land = sound.model;
        } else if (name == "Hero Shot") {
            sounds.shot = sound.model;
        } else if (name == "Hero Down") {
            sounds.down = sound.model;
        }
    }
    std::shared_ptr<KXModelAnimation> pellet;
    for (const std::shared_ptr<KXModel>& model : game.models) {
        if (auto animation = modelCast<KXModelAnimation>(model)) {
            if (animation->name() == "Hero Pellet") {
                pellet = animation;
            }
        }
    }
    if (!pellet) {
        return;
    }
    // Mint jumps higher; it waits in the character selection until coins buy it.
    auto mint = characterAsset(game, kDemoMintName, kMintPalette, sounds, pellet, 12.5f);
    mint->priceAttribute()->setValue(kDemoMintPrice, true);
    mint->purchaseMethodAttribute()->setValue("kInGameCurrency", true);
}

} // namespace demo
} // namespace kxdata
