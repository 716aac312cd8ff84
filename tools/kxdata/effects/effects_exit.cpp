#include "tools/kxdata/effects/effects_exit.h"

#include <stdexcept>
#include <string>

#include "model/attributes/KXAttributeColor.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelAnimation.h"
#include "model/classes/KXModelAssetObstacle.h"
#include "model/classes/KXModelFont.h"
#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelObjectAssetUnit.h"
#include "model/classes/KXModelObjectButton.h"
#include "model/classes/KXModelObjectImage.h"
#include "model/classes/KXModelObjectInstance.h"
#include "model/classes/KXModelObjectLabel.h"
#include "model/classes/KXModelObjectParticles.h"
#include "model/classes/KXModelObjectParticlesEmitter.h"
#include "model/classes/KXModelPolygon.h"
#include "model/classes/KXModelSpriteContainer.h"
#include "model/references/KXAttributeShape.h"
#include "model/references/KXAttributeSound.h"
#include "model/references/KXAttributeSprite.h"
#include "tools/kxdata/demo/demo_attributes.h"
#include "tools/kxdata/demo/demo_particles.h"

using cocos2d::ccColor4F;
using cocos2d::CCPoint;
using cocos2d::CCSize;

namespace kxdata {
namespace effects {

using demo::Canvas;
using demo::Colour;
using demo::DemoGame;

namespace {

template <class T> void place(T& object, CCPoint position, int depth) {
    object.positionAttribute()->setValue(position, true);
    object.zDepthAttribute()->setValue(depth, true);
}

Canvas sparkCanvas() {
    Canvas canvas(16, 16);
    for (float radius = 8.0f; radius > 0.5f; radius -= 1.0f) {
        const auto alpha = static_cast<uint8_t>(255.0f * (1.0f - radius / 8.0f) * 0.6f + 40.0f);
        canvas.disc(8.0f, 8.0f, radius, Colour{255, 255, 255, alpha});
    }
    return canvas;
}

Canvas torchCanvas() {
    Canvas canvas(20, 90);
    canvas.fillRect(6, 0, 8, 90, Colour{110, 70, 40, 255});
    canvas.fillRect(2, 0, 16, 12, Colour{70, 60, 60, 255});
    return canvas;
}

// A label in the game's dot font, centred at `position`.
std::shared_ptr<KXModelObjectLabel> label(DemoGame& game, const std::string& name, const std::string& text,
                                          CCPoint position, float scale, int depth) {
    auto made = game.make<KXModelObjectLabel>("KXModelObjectLabel", name);
    made->fontAttribute()->setValue(std::to_string(game.font->id()), true);
    made->actionAttribute()->setValue("kCustomVector", true);
    made->textAttribute()->setValue(text, true);
    made->alignmentAttribute()->setValue("kCCTextAlignmentCenter", true);
    made->autohideAttribute()->setValue(0.0f, true);
    made->stickToEdgeAttribute()->setValue(false, true);
    made->scaleAttribute()->setValue(CCPoint(scale, scale), true);
    place(*made, position, depth);
    return made;
}

// Sparks rising from `position`, fading from `colour`.
std::shared_ptr<KXModelObjectParticles> sparks(DemoGame& game, const std::string& name,
                                               const std::shared_ptr<KXModelSpriteContainer>& spark,
                                               CCPoint position, ccColor4F colour, float rate, float speed) {
    auto particles = game.make<KXModelObjectParticles>("KXModelObjectParticles", name);
    place(*particles, position, 7);
    auto emitter = demo::risingEmitter(game, name + " Sparks", spark, colour, 25.0f);
    demo::setFloat(*emitter, "Total Particles", 60.0f);
    demo::setFloat(*emitter, "Emission Rate", rate);
    demo::setFloat(*emitter, "Life", 1.5f, 0.5f);
    demo::setFloat(*emitter, "Speed", speed, speed * 0.5f);
    demo::setFloat(*emitter, "Start Size", 12.0f, 4.0f);
    demo::setFloat(*emitter, "End Size", 4.0f, 2.0f);
    particles->addChild(emitter, true);
    return particles;
}

// The torch's look: the stick, its flame on top and the plate below.
std::shared_ptr<KXModelAnimation> torchLook(DemoGame& game,
                                            const std::shared_ptr<KXModelSpriteContainer>& spark) {
    auto look = game.make<KXModelAnimation>("KXModelAnimation", "Exit Torch Idle");
    look->speedAttribute()->setValue(1.0f, true);
    look->durationAttribute()->setValue(1.0f, true);
    look->loopAttribute()->setValue(true, true);
    auto stick = game.make<KXModelObjectImage>("KXModelObjectImage", "Exit Torch Stick");
    stick->setImage(game.picture("Exit Torch", torchCanvas()));
    stick->autohideAttribute()->setValue(0.0f, true);
    look->addChild(stick, true);
    look->addChild(sparks(game, "Exit Torch Flame", spark, CCPoint(0.0f, 48.0f),
                          ccColor4F{255.0f, 170.0f, 60.0f, 255.0f}, 30.0f, 40.0f),
                   true);
    look->addChild(label(game, "Exit Plate", "EXIT", CCPoint(0.0f, -60.0f), 0.6f, 1), true);
    return look;
}

} // namespace

void addCaveExit(DemoGame& game, KXModelLevelSection& hall,
                 const std::shared_ptr<KXModelObjectAssetUnit>& crate) {
    hall.addChild(label(game, "Cave Sign", "ECHO CAVE", CCPoint(570.0f, 600.0f), 1.0f, 7), true);

    // A gong on the wall to strike: a button of the level, leading nowhere.
    auto gong = game.make<KXModelObjectButton>("KXModelObjectButton", "Gong");
    const Colour bronze{176, 120, 48, 255};
    gong->setImage(game.picture("Gong Button", demo::buttonCanvas("GONG", bronze, false, 140, 56)));
    gong->imageSelectedAttribute()->setValue(
        game.picture("Gong Button Lit", demo::buttonCanvas("GONG", bronze, true, 140, 56)), true);
    gong->intervalAttribute()->setValue(0.0f, true);
    gong->blockTouchAttribute()->setValue(true, true);
    gong->autohideAttribute()->setValue(0.0f, true);
    gong->stickToEdgeAttribute()->setValue(false, true);
    if (game.click) {
        gong->clickSoundAttribute()->setValue(game.click, true);
    }
    place(*gong, CCPoint(800.0f, 600.0f), 7);
    hall.addChild(gong, true);

    auto torch = game.make<KXModelAssetObstacle>("KXModelAssetObstacle", "Exit Torch");
    // Particles draw a whole texture of their own, not a piece of the atlas.
    const auto spark = game.effect("Exit Spark", sparkCanvas());
    torch->setIdleAnimation(torchLook(game, spark));
    auto stickShape = game.make<KXModelPolygon>("KXModelPolygon", "Exit Torch Shape");
    stickShape->replaceWithBox(CCSize(20.0f, 90.0f), CCPoint(0.0f, 0.0f), true);
    torch->collisionShapeAttribute()->setValue(stickShape, true);
    auto placedTorch = game.make<KXModelObjectAssetUnit>("KXModelObjectAssetUnit", "Exit Torch");
    placedTorch->setAsset(torch);
    placedTorch->setObjectType("kDecorationObjectType");
    place(*placedTorch, CCPoint(1095.0f, 420.0f), 6);
    hall.addChild(placedTorch, true);

    hall.addChild(sparks(game, "Dust", spark, CCPoint(840.0f, 470.0f),
                         ccColor4F{200.0f, 210.0f, 255.0f, 160.0f}, 8.0f, 20.0f),
                  true);

    // The second crate is the first one again, turned the other way.
    auto second = game.make<KXModelObjectInstance>("KXModelObjectInstance", "Crate Again");
    second->setReference(crate);
    place(*second, CCPoint(880.0f, 200.0f), 6);
    second->rotationAttribute()->setValue(-10.0f, true);
    hall.addChild(second, true);
}

} // namespace effects
} // namespace kxdata
