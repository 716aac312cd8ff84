#include "tools/kxdata/demo/demo_units.h"

#include <cmath>
#include <memory>
#include <string>

#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelAnimation.h"
#include "model/classes/KXModelAssetObstacle.h"
#include "model/classes/KXModelCircle.h"
#include "model/classes/KXModelComponentSpawner.h"
#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelObjectAssetUnit.h"
#include "model/classes/KXModelObjectImage.h"
#include "model/classes/KXModelPolygon.h"
#include "model/classes/KXModelScreen.h"
#include "model/classes/KXModelScreenScene.h"
#include "model/references/KXAttributeAnimation.h"
#include "model/references/KXAttributeShape.h"
#include "tools/kxdata/demo/demo_game.h"

using cocos2d::CCPoint;
using cocos2d::CCSize;

namespace kxdata {
namespace demo {

namespace {

// --- pictures ---

Canvas hillsCanvas() {
    Canvas canvas(284, 80);
    for (int x = 0; x < canvas.width(); ++x) {
        const float t = static_cast<float>(x) / static_cast<float>(canvas.width());
        const float ridge =
            34.0f + 18.0f * std::sin(t * 6.283f * 2.0f) + 8.0f * std::sin(t * 6.283f * 5.0f + 1.0f);
        const int top = canvas.height() - static_cast<int>(ridge);
        canvas.fillRect(x, top, 1, canvas.height() - top, Colour{70, 150, 90, 255});
    }
    return canvas;
}

// The floor's edge; the scene's painted ground lies over it.
Canvas stoneCanvas() {
    Canvas canvas(128, 32);
    canvas.verticalGradient(Colour{150, 145, 140, 255}, Colour{95, 90, 88, 255});
    canvas.fillRect(0, 0, canvas.width(), 3, Colour{120, 190, 80, 255});
    return canvas;
}

Canvas plankCanvas() {
    Canvas canvas(160, 20);
    canvas.roundedRect(0, 0, 160, 20, 6.0f, Colour{160, 105, 55, 255});
    canvas.fillRect(4, 4, 152, 2, Colour{200, 150, 90, 255});
    canvas.fillRect(4, 13, 152, 2, Colour{125, 80, 40, 255});
    // An arrow up: it can be jumped onto from below.
    canvas.fillRect(78, 6, 4, 10, Colour{255, 235, 170, 255});
    canvas.fillRect(74, 8, 12, 2, Colour{255, 235, 170, 255});
    return canvas;
}

Canvas crabCanvas(bool flat) {
    Canvas canvas(64, 40);
    const Colour shell{225, 80, 60, 255};
    if (flat) {
        canvas.roundedRect(4, 26, 56, 14, 6.0f, withAlpha(shell, 200));
        canvas.fillRect(18, 30, 8, 2, Colour{40, 30, 30, 255});
        canvas.fillRect(38, 30, 8, 2, Colour{40, 30, 30, 255});
        return canvas;
    }
    canvas.roundedRect(8, 10, 48, 24, 12.0f, shell);
    canvas.disc(6.0f, 12.0f, 6.0f, shell);
    canvas.disc(58.0f, 12.0f, 6.0f, shell);
    for (int leg = 0; leg < 3; ++leg) {
        canvas.fillRect(14 + leg * 6, 32, 3, 8, Colour{170, 55, 45, 255});
        canvas.fillRect(38 + leg * 6, 32, 3, 8, Colour{170, 55, 45, 255});
    }
    canvas.disc(24.0f, 12.0f, 4.0f, Colour{255, 255, 255, 255});
    canvas.disc(40.0f, 12.0f, 4.0f, Colour{255, 255, 255, 255});
    canvas.disc(23.0f, 12.0f, 2.0f, Colour{30, 30, 40, 255});
    canvas.disc(39.0f, 12.0f, 2.0f, Colour{30, 30, 40, 255});
    return canvas;
}

Canvas boulderCanvas(bool cracked) {
    Canvas canvas(56, 56);
    canvas.disc(28.0f, 28.0f, 27.0f, Colour{120, 110, 100, 255});
    canvas.disc(21.0f, 19.0f, 11.0f, Colour{150, 140, 128, 255});
    canvas.disc(38.0f, 38.0f, 6.0f, Colour{95, 88, 80, 255});
    canvas.disc(16.0f, 40.0f, 4.0f, Colour{95, 88, 80, 255});
    if (cracked) {
        for (int step = 0; step < 36; ++step) {
            canvas.fillRect(10 + step, 14 + (step % 7), 2, 3, Colour{40, 35, 30, 255});
        }
    }
    return canvas;
}

Canvas ballCanvas(Colour colour) {
    Canvas canvas(36, 36);
    canvas.disc(18.0f, 18.0f, 17.0f, colour);
    canvas.disc(13.0f, 12.0f, 5.0f, withAlpha(Colour{255, 255, 255, 255}, 150));
    return canvas;
}

Canvas cannonballCanvas() {
    Canvas canvas(20, 20);
    canvas.disc(10.0f, 10.0f, 9.5f, Colour{45, 45, 55, 255});
    canvas.disc(7.0f, 7.0f, 3.0f, Colour{130, 130, 150, 255});
    return canvas;
}

// The barrel points left.
Canvas cannonCanvas() {
    Canvas canvas(96, 72);
    canvas.roundedRect(0, 8, 70, 30, 10.0f, Colour{60, 62, 75, 255});
    canvas.fillRect(0, 6, 10, 34, Colour{45, 45, 55, 255});
    canvas.disc(64.0f, 48.0f, 22.0f, Colour{130, 85, 45, 255});
    canvas.disc(64.0f, 48.0f, 8.0f, Colour{90, 55, 30, 255});
    return canvas;
}

Canvas bushCanvas() {
    Canvas canvas(90, 50);
    canvas.disc(22.0f, 32.0f, 18.0f, Colour{60, 140, 60, 255});
    canvas.disc(46.0f, 24.0f, 22.0f, Colour{75, 160, 70, 255});
    canvas.disc(70.0f, 32.0f, 17.0f, Colour{60, 140, 60, 255});
    canvas.fillRect(6, 40, 78, 10, Colour{60, 140, 60, 255});
    return canvas;
}

// --- models ---

// A looping animation of one picture.
std::shared_ptr<KXModelAnimation> pictureAnimation(DemoGame& game, const std::string& name,
                                                   const std::shared_ptr<KXModelSpriteContainer>& picture,
                                                   float duration) {
    auto animation = game.make<KXModelAnimation>("KXModelAnimation", name);
    animation->speedAttribute()->setValue(1.0f, true);
    animation->durationAttribute()->setValue(duration, true);
    animation->loopAttribute()->setValue(true, true);
    auto image = game.make<KXModelObjectImage>("KXModelObjectImage", name + " Picture");
    image->setImage(picture);
    image->autohideAttribute()->setValue(0.0f, true);
    animation->addChild(image, true);
    return animation;
}

// An obstacle showing the picture, colliding as a box of its size.
std::shared_ptr<KXModelAssetObstacle> obstacle(DemoGame& game, const std::string& name,
                                               const Canvas& canvas) {
    auto asset = game.make<KXModelAssetObstacle>("KXModelAssetObstacle", name);
    const auto picture = game.picture(name, canvas);
    asset->setIdleAnimation(pictureAnimation(game, name + " Idle", picture, 1.0f));
    auto shape = game.make<KXModelPolygon>("KXModelPolygon", name + " Shape");
    shape->replaceWithBox(CCSize(static_cast<float>(canvas.width()), static_cast<float>(canvas.height())),
                          CCPoint(0.0f, 0.0f), true);
    asset->collisionShapeAttribute()->setValue(shape, true);
    return asset;
}

void setDefeated(DemoGame& game, KXModelAssetObstacle& asset, const std::string& name, const Canvas& canvas,
                 float duration) {
    asset.defeatedAnimationAttribute()->setValue(
        pictureAnimation(game, name, game.picture(name, canvas), duration), true);
}

// A unit of that kind ("Object Type" first: it chooses the other settings).
std::shared_ptr<KXModelObjectAssetUnit> unit(DemoGame& game, KXModelLevelSection& section,
                                             const std::string& name,
                                             const std::shared_ptr<KXModelAssetObstacle>& asset,
                                             const std::string& kind, CCPoint position, int depth,
                                             CCPoint scale = CCPoint(1.0f, 1.0f)) {
    auto placed = game.make<KXModelObjectAssetUnit>("KXModelObjectAssetUnit", name);
    placed->setAsset(asset);
    placed->setObjectType(kind);
    placed->positionAttribute()->setValue(position, true);
    placed->scaleAttribute()->setValue(scale, true);
    placed->zDepthAttribute()->setValue(depth, true);
    section.addChild(placed, true);
    return placed;
}

void setVelocity(KXModelObjectAssetUnit& placed, CCPoint linear, float angular) {
    placed.setLinearVelocity(linear);
    static_cast<KXAttributeFloat*>(placed.attribute("Angular Velocity"))->setValue(angular, true);
}

} // namespace

void addDemoUnits(DemoGame& game, KXModelScreen& scene) {
    auto section = game.make<KXModelLevelSection>("KXModelLevelSection", kDemoUnitsSection);
    section->initSectionAttribute()->setValue(true, true);
    section->startDistanceAttribute()->setValue(0.0f, true);
    section->endDistanceAttribute()->setValue(100000.0f, true);
    section->widthAttribute()->setValue(kWidth, true);
    scene.addChild(section, true);
    // Grip, so that the spinning boulder rolls rather than slides.
    if (auto* field = dynamic_cast<KXModelScreenScene*>(&scene)) {
        field->frictionAttribute()->setValue(0.6f, true);
    }

    // The hills behind everything; the floor under the painted ground holds things up, the ledge
    // lets them up from below.
    unit(game, *section, "Hills", obstacle(game, "Hills", hillsCanvas()), "kDecorationObjectType",
         CCPoint(kWidth * 0.5f, 150.0f), 3, CCPoint(4.5f, 2.5f));
    unit(game, *section, "Floor", obstacle(game, "Stone Floor", stoneCanvas()), "kPlatformObjectType",
         CCPoint(kWidth * 0.5f, 64.0f), 4, CCPoint(9.5f, 1.0f));
    auto plank = obstacle(game, "Ledge", plankCanvas());
    plank->collisionShape()->setOneWayCollisionVector(CCPoint(0.0f, 1.0f), true);
    unit(game, *section, "Ledge", plank, "kPlatformObjectType", CCPoint(150.0f, 250.0f), 6);

    auto bush = obstacle(game, "Bush", bushCanvas());
    unit(game, *section, "Bush 1", bush, "kDecorationObjectType", CCPoint(420.0f, 100.0f), 5);
    unit(game, *section, "Bush 2", bush, "kDecorationObjectType", CCPoint(890.0f, 100.0f), 5,
         CCPoint(-1.2f, 1.2f));

    // A ball thrown up under the ledge comes to rest on it; a boulder tumbles along the floor.
    auto ball = obstacle(game, "Ball", ballCanvas(Colour{70, 150, 230, 255}));
    auto thrown = unit(game, *section, "Ball", ball, "kPhysicsObjectType", CCPoint(150.0f, 110.0f), 7);
    setVelocity(*thrown, CCPoint(0.0f, 32.0f), 0.0f);
    auto rock = obstacle(game, "Boulder", boulderCanvas(false));
    auto round = game.make<KXModelCircle>("KXModelCircle", "Boulder Round");
    round->addPoint(CCPoint(0.0f, 0.0f), true);
    round->addPoint(CCPoint(26.0f, 0.0f), true);
    rock->collisionShapeAttribute()->setValue(round, true);
    setDefeated(game, *rock, "Boulder Cracked", boulderCanvas(true), 1.0f);
    auto boulder = unit(game, *section, "Boulder", rock, "kPhysicsObjectType", CCPoint(380.0f, 140.0f), 7);
    boulder->setDestroyType("kDestroyCollision");
    // Rolling: 4 m/s along the ground is 3 radians a second on its 1.3 m radius, clockwise.
    setVelocity(*boulder, CCPoint(4.0f, 0.0f), -3.0f);

    // Crabs patrol towards the cannon.
    auto crab = obstacle(game, "Crab", crabCanvas(false));
    setDefeated(game, *crab, "Crab Flat", crabCanvas(true), 0.6f);
    for (int index = 0; index < 2; ++index) {
        auto walker = unit(game, *section, "Crab " + std::to_string(index + 1), crab, "kEnemyObjectType",
                           CCPoint(560.0f + 220.0f * static_cast<float>(index), 100.0f), 8);
        setVelocity(*walker, CCPoint(1.5f, 0.0f), 0.0f);
    }

    // The cannon: a picture, and in its barrel a spawner of cannonballs that knock enemies out.
    unit(game, *section, "Cannon", obstacle(game, "Cannon", cannonCanvas()), "kDecorationObjectType",
         CCPoint(1060.0f, 116.0f), 9);
    auto shot = unit(game, *section, "Cannonball", obstacle(game, "Cannonball", cannonballCanvas()),
                     "kBulletCharacterObjectType", CCPoint(1020.0f, 126.0f), 8);
    shot->setLinearVelocity(CCPoint(-12.0f, 0.0f));
    auto spawner = game.make<KXModelComponentSpawner>("KXModelComponentSpawner", "Spawner");
    spawner->setSpawnAction("kPermanentSpawning");
    spawner->setSpawnRate(1.2f);
    static_cast<KXAttributeFloat*>(spawner->attribute("Spawn Rate"))->setVariableValue(0.3f);
    shot->addChild(spawner, true);
}

} // namespace demo
} // namespace kxdata
