#include "tools/kxdata/effects/effects_scenario.h"
#include "tools/kxdata/demo/demo_attributes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

#include "model/KXModelController.h"
#include "model/attributes/KXAttributeColor.h"
#include "model/attributes/KXAttributeGeometry.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelAnimation.h"
#include "model/classes/KXModelAssetObstacle.h"
#include "model/classes/KXModelCircle.h"
#include "model/classes/KXModelFont.h"
#include "model/classes/KXModelGeneralSettings.h"
#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelLinker.h"
#include "model/classes/KXModelObjectAssetUnit.h"
#include "model/classes/KXModelObjectBackground.h"
#include "model/classes/KXModelObjectFlag.h"
#include "model/classes/KXModelObjectImage.h"
#include "model/classes/KXModelObjectLight.h"
#include "model/classes/KXModelObjectMirror.h"
#include "model/classes/KXModelObjectTrail.h"
#include "model/classes/KXModelPolygon.h"
#include "model/classes/KXModelScreen.h"
#include "model/classes/KXModelScreenScene.h"
#include "model/classes/KXModelSprite.h"
#include "model/classes/KXModelSpriteContainer.h"
#include "model/references/KXAttributeShape.h"
#include "model/references/KXAttributeSprite.h"
#include "tools/kxdata/effects/effects_exit.h"
#include "tools/kxdata/effects/effects_media.h"

using cocos2d::ccColor4F;
using cocos2d::CCPoint;
using cocos2d::CCSize;

namespace kxdata {
namespace effects {

using demo::Canvas;
using demo::Colour;
using demo::DemoGame;

namespace {

constexpr const char* kBannerCloth = "Banner Cloth";
constexpr float kWidth = demo::kWidth;
constexpr float kHeight = demo::kHeight;

// --- pictures ---

Canvas caveWallCanvas() {
    Canvas canvas(160, 90);
    canvas.verticalGradient(Colour{26, 24, 38, 255}, Colour{12, 12, 20, 255});
    unsigned state = 977u;
    const auto next = [&state](int range) {
        state = state * 1103515245u + 12345u;
        return static_cast<int>((state >> 8) % static_cast<unsigned>(range));
    };
    for (int index = 0; index < 26; ++index) {
        canvas.disc(static_cast<float>(next(160)), static_cast<float>(next(90)),
                    3.0f + static_cast<float>(next(9)),
                    Colour{60, 56, 72, static_cast<uint8_t>(50 + next(60))});
    }
    return canvas;
}

Canvas pillarCanvas() {
    Canvas canvas(40, 200);
    canvas.fillRect(0, 0, 40, 200, Colour{92, 86, 98, 255});
    for (int y = 0; y < 200; y += 25) {
        canvas.fillRect(0, y, 40, 3, Colour{60, 55, 66, 255});
    }
    canvas.fillRect(4, 0, 5, 200, Colour{120, 114, 128, 255});
    return canvas;
}

Canvas boulderCanvas() {
    Canvas canvas(72, 72);
    canvas.disc(36.0f, 36.0f, 35.0f, Colour{98, 90, 84, 255});
    canvas.disc(27.0f, 25.0f, 13.0f, Colour{126, 118, 108, 255});
    canvas.disc(48.0f, 48.0f, 7.0f, Colour{72, 66, 62, 255});
    return canvas;
}

Canvas crateCanvas() {
    Canvas canvas(60, 60);
    canvas.fillRect(0, 0, 60, 60, Colour{130, 86, 46, 255});
    canvas.fillRect(5, 5, 50, 50, Colour{160, 110, 60, 255});
    for (int step = 0; step < 50; ++step) {
        canvas.fillRect(5 + step, 5 + step, 4, 4, Colour{120, 78, 40, 255});
    }
    return canvas;
}

Canvas cometCanvas() {
    Canvas canvas(28, 28);
    canvas.disc(14.0f, 14.0f, 13.0f, Colour{150, 220, 255, 120});
    canvas.disc(14.0f, 14.0f, 8.0f, Colour{235, 250, 255, 255});
    return canvas;
}

Canvas bannerCanvas() {
    Canvas canvas(128, 64);
    canvas.fillRect(0, 0, 128, 64, Colour{40, 90, 170, 255});
    for (int stripe = 0; stripe < 4; ++stripe) {
        canvas.fillRect(0, 6 + stripe * 15, 128, 5, Colour{240, 200, 80, 255});
    }
    canvas.fillRect(0, 0, 6, 64, Colour{20, 40, 90, 255});
    return canvas;
}

// --- models ---

using demo::setFloat;

template <class T> void place(T& object, CCPoint position, int depth, float rotation = 0.0f) {
    object.positionAttribute()->setValue(position, true);
    object.zDepthAttribute()->setValue(depth, true);
    object.rotationAttribute()->setValue(rotation, true);
}

std::shared_ptr<KXModelAnimation> pictureAnimation(DemoGame& game, const std::string& name,
                                                   const std::shared_ptr<KXModelSpriteContainer>& picture) {
    auto animation = game.make<KXModelAnimation>("KXModelAnimation", name);
    animation->speedAttribute()->setValue(1.0f, true);
    animation->durationAttribute()->setValue(1.0f, true);
    animation->loopAttribute()->setValue(true, true);
    auto image = game.make<KXModelObjectImage>("KXModelObjectImage", name + " Picture");
    image->setImage(picture);
    image->autohideAttribute()->setValue(0.0f, true);
    animation->addChild(image, true);
    return animation;
}

// An obstacle showing the picture, colliding as `shape`.
std::shared_ptr<KXModelAssetObstacle> obstacle(DemoGame& game, const std::string& name, Canvas canvas,
                                               const std::shared_ptr<KXModelPolygon>& shape) {
    auto asset = game.make<KXModelAssetObstacle>("KXModelAssetObstacle", name);
    asset->setIdleAnimation(pictureAnimation(game, name + " Idle", game.picture(name, std::move(canvas))));
    asset->collisionShapeAttribute()->setValue(shape, true);
    return asset;
}

std::shared_ptr<KXModelPolygon> box(DemoGame& game, const std::string& name, CCSize size) {
    auto shape = game.make<KXModelPolygon>("KXModelPolygon", name);
    shape->replaceWithBox(size, CCPoint(0.0f, 0.0f), true);
    return shape;
}

std::shared_ptr<KXModelObjectAssetUnit> unit(DemoGame& game, KXModelLevelSection& section,
                                             const std::string& name,
                                             const std::shared_ptr<KXModelAssetObstacle>& asset,
                                             const std::string& kind, CCPoint position, int depth,
                                             float rotation = 0.0f) {
    auto placed = game.make<KXModelObjectAssetUnit>("KXModelObjectAssetUnit", name);
    placed->setAsset(asset);
    placed->setObjectType(kind);
    place(*placed, position, depth, rotation);
    section.addChild(placed, true);
    return placed;
}

void light(DemoGame& game, KXModelLevelSection& section, const std::string& name, CCPoint position,
           float radius, ccColor4F colour, bool shadows) {
    auto model = game.make<KXModelObjectLight>("KXModelObjectLight", name);
    place(*model, position, 4);
    setFloat(*model, "Radius", radius);
    static_cast<KXAttributeColor*>(model->attribute("Color"))->setValue(colour, true);
    static_cast<KXAttributeBool*>(model->attribute("Cast Shadow"))->setValue(shadows, true);
    section.addChild(model, true);
}

struct Ribbon {
    float length, startWidth, endWidth, speed, waveHeight, waveLength;
};

template <class T> void shapeRibbon(T& model, const Ribbon& ribbon) {
    setFloat(model, "Length", ribbon.length);
    setFloat(model, "Start Width", ribbon.startWidth);
    setFloat(model, "End Width", ribbon.endWidth);
    setFloat(model, "Speed", ribbon.speed);
    setFloat(model, "Wave Height", ribbon.waveHeight);
    setFloat(model, "Wave Length", ribbon.waveLength);
}

// A texture of its own for effects: a sprite whose picture lies under data/effects, not on the
// atlas sheet (an effect draws a whole texture).
std::shared_ptr<KXModelSpriteContainer> effectTexture(DemoGame& game, const std::string& name, CCSize size) {
    auto sprite = game.make<KXModelSprite>("KXModelSprite", name);
    sprite->sizeAttribute()->setValue(size, true);
    sprite->sourceSizeAttribute()->setValue(size, true);
    sprite->sourceRectAttribute()->setValue(cocos2d::CCRect(0.0f, 0.0f, size.width, size.height), true);
    auto container = game.make<KXModelSpriteContainer>("KXModelSpriteContainer", name);
    container->addChild(sprite, true);
    return container;
}

void addCaveBackground(DemoGame& game, KXModelScreen& scene) {
    auto wall = game.make<KXModelObjectBackground>("KXModelObjectBackground", "Cave Wall");
    static_cast<KXAttributeSprite*>(wall->attribute("Image"))
        ->setValue(game.picture("Cave Wall", caveWallCanvas()), true);
    setFloat(*wall, "Speed", 0.0f);
    setFloat(*wall, "Tiling Offset", -1.0f);
    wall->positionAttribute()->setValue(CCPoint(0.0f, kHeight * 0.5f), true);
    wall->scaleAttribute()->setValue(CCPoint(7.3f, kHeight / 90.0f), true);
    wall->zDepthAttribute()->setValue(0, true);
    scene.addChild(wall, true);
}

void addCaveHall(DemoGame& game, KXModelScreen& scene) {
    auto section = game.make<KXModelLevelSection>("KXModelLevelSection", kCaveSection);
    section->initSectionAttribute()->setValue(true, true);
    section->startDistanceAttribute()->setValue(0.0f, true);
    section->endDistanceAttribute()->setValue(100000.0f, true);
    section->widthAttribute()->setValue(kWidth, true);
    scene.addChild(section, true);
    KXModelLevelSection& hall = *section;

    // Shadow casters.
    auto pillar = obstacle(game, "Pillar", pillarCanvas(), box(game, "Pillar Shape", CCSize(40.0f, 200.0f)));
    unit(game, hall, "Pillar 1", pillar, "kPlatformObjectType", CCPoint(470.0f, 330.0f), 6);
    unit(game, hall, "Pillar 2", pillar, "kPlatformObjectType", CCPoint(760.0f, 300.0f), 6);
    auto round = game.make<KXModelCircle>("KXModelCircle", "Boulder Round");
    round->addPoint(CCPoint(0.0f, 0.0f), true);
    round->addPoint(CCPoint(35.0f, 0.0f), true);
    unit(game, hall, "Boulder", obstacle(game, "Boulder", boulderCanvas(), round), "kPlatformObjectType",
         CCPoint(200.0f, 230.0f), 6);
    auto crate = unit(game, hall, "Crate",
                      obstacle(game, "Crate", crateCanvas(), box(game, "Crate Shape", CCSize(60.0f, 60.0f))),
                      "kPlatformObjectType", CCPoint(1010.0f, 250.0f), 6, 20.0f);

    // Lights: a warm lantern and a cold crystal cast shadows; an ember glows without.
    light(game, hall, "Lantern", CCPoint(300.0f, 340.0f), 16.0f, ccColor4F{255.0f, 196.0f, 120.0f, 255.0f},
          true);
    light(game, hall, "Moon Crystal", CCPoint(920.0f, 430.0f), 14.0f,
          ccColor4F{120.0f, 170.0f, 255.0f, 255.0f}, true);
    light(game, hall, "Ember", CCPoint(620.0f, 560.0f), 6.0f, ccColor4F{255.0f, 120.0f, 60.0f, 200.0f},
          false);

    // Flags: a banner with its own cloth, a pennant with the game's flag map.
    auto banner = game.make<KXModelObjectFlag>("KXModelObjectFlag", "Banner");
    place(*banner, CCPoint(60.0f, 540.0f), 7);
    shapeRibbon(*banner, Ribbon{190.0f, 30.0f, 22.0f, 500.0f, 14.0f, 70.0f});
    static_cast<KXAttributeSprite*>(banner->attribute("Texture"))
        ->setValue(effectTexture(game, kBannerCloth, CCSize(128.0f, 64.0f)), true);
    hall.addChild(banner, true);
    auto pennant = game.make<KXModelObjectFlag>("KXModelObjectFlag", "Pennant");
    place(*pennant, CCPoint(1030.0f, 560.0f), 7);
    shapeRibbon(*pennant, Ribbon{100.0f, 16.0f, 6.0f, 700.0f, 8.0f, 50.0f});
    hall.addChild(pennant, true);

    // A comet that spins about its middle with a trail linked to it at arm's length.
    auto comet = unit(game, hall, "Comet",
                      obstacle(game, "Comet", cometCanvas(), box(game, "Comet Shape", CCSize(28, 28))),
                      "kDecorationObjectType", CCPoint(620.0f, 400.0f), 8);
    static_cast<KXAttributeFloat*>(comet->attribute("Angular Velocity"))->setValue(-40.0f, true);
    auto tail = game.make<KXModelObjectTrail>("KXModelObjectTrail", "Comet Tail");
    place(*tail, CCPoint(720.0f, 400.0f), 8);
    shapeRibbon(*tail, Ribbon{420.0f, 12.0f, 2.0f, 0.0f, 6.0f, 40.0f});
    hall.addChild(tail, true);
    auto link = game.make<KXModelLinker>("KXModelLinker", "Comet Arm");
    link->setObjects(comet, tail, true);
    hall.addChild(link, true);

    // The pool along the bottom reflects the hall above it, tinted blue.
    auto pool = game.make<KXModelObjectMirror>("KXModelObjectMirror", "Pool");
    place(*pool, CCPoint(kWidth * 0.5f, 65.0f), 9);
    pool->scaleAttribute()->setValue(CCPoint(kWidth / 100.0f, 1.3f), true);
    static_cast<KXAttributeColor*>(pool->attribute("Color"))
        ->setValue(ccColor4F{150.0f, 200.0f, 255.0f, 230.0f}, true);
    hall.addChild(pool, true);

    addCaveExit(game, hall, crate);
}

void addCave(DemoGame& game) {
    demo::ScreenNode& cave = game.addScreen("KXNodeScene", "KXModelScreenScene", kCaveKey, "Cave");
    auto* scene = static_cast<KXModelScreenScene*>(cave.screen.get());
    scene->gravityAttribute()->setValue(CCPoint(0.0f, 0.0f), true);
    scene->gameSpeedMinAttribute()->setValue(0.0f, true);
    scene->gameSpeedMaxAttribute()->setValue(0.0f, true);
    scene->speedIncreaseAttribute()->setValue(0.0f, true);
    addCaveBackground(game, *scene);
    addCaveHall(game, *scene);
}

} // namespace

DemoGame buildEffectsGame() {
    KXModelController::shared()->clear();
    DemoGame game;
    demo::addDemoSettings(game);
    game.settings->applicationNameAttribute()->setValue("KX Effects", true);
    game.font = game.make<KXModelFont>("KXModelFont", "Demo Dots");
    demo::addDemoLoading(game);
    addCave(game);
    demo::linkPort(game.screen("KXPScreenStart"), "Load", game.screen(kCaveKey));
    demo::addDemoAtlas(game);
    demo::recordLastId(game);
    return game;
}

size_t writeEffectsScenario(const std::string& dir) {
    DemoGame game = buildEffectsGame();
    size_t failed = demo::writeGameFiles(dir, game);
    failed += writeEffectMedia(dir);
    for (const std::shared_ptr<KXModel>& model : game.models) {
        if (model->name() == kBannerCloth && model->className() == std::string("KXModelSprite")) {
            failed +=
                bannerCanvas().savePng(dir + "/" + static_cast<KXModelSprite&>(*model).effectPath()) ? 0 : 1;
        }
    }
    return failed;
}

} // namespace effects
} // namespace kxdata
