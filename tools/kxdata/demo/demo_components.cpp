#include "tools/kxdata/demo/demo_components.h"

#include <memory>
#include <string>

#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelAnimation.h"
#include "model/classes/KXModelAssetObstacle.h"
#include "model/classes/KXModelComponentHealth.h"
#include "model/classes/KXModelComponentMove.h"
#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelObjectAssetUnit.h"
#include "model/classes/KXModelObjectButton.h"
#include "model/classes/KXModelObjectImage.h"
#include "model/classes/KXModelPolygon.h"
#include "model/classes/KXModelScreen.h"
#include "model/references/KXAttributeAnimation.h"
#include "model/references/KXAttributeShape.h"
#include "tools/kxdata/demo/demo_game.h"
#include "tools/kxdata/demo/demo_units.h"

using cocos2d::CCPoint;
using cocos2d::CCSize;

namespace kxdata {
namespace demo {

namespace {

Canvas armouredCrabCanvas(Colour shell, bool flat) {
    Canvas canvas(72, 44);
    const Colour plate{static_cast<uint8_t>(shell.r / 2), static_cast<uint8_t>(shell.g / 2),
                       static_cast<uint8_t>(shell.b / 2), 255};
    if (flat) {
        canvas.roundedRect(4, 30, 64, 14, 6.0f, shell);
        canvas.fillRect(12, 34, 48, 3, plate);
        return canvas;
    }
    canvas.roundedRect(8, 10, 56, 26, 12.0f, shell);
    for (int band = 0; band < 3; ++band) {
        canvas.fillRect(16 + band * 16, 12, 6, 22, plate);
    }
    canvas.disc(6.0f, 12.0f, 7.0f, shell);
    canvas.disc(66.0f, 12.0f, 7.0f, shell);
    for (int leg = 0; leg < 3; ++leg) {
        canvas.fillRect(16 + leg * 6, 36, 3, 8, plate);
        canvas.fillRect(44 + leg * 6, 36, 3, 8, plate);
    }
    canvas.disc(28.0f, 8.0f, 4.0f, Colour{255, 255, 255, 255});
    canvas.disc(44.0f, 8.0f, 4.0f, Colour{255, 255, 255, 255});
    canvas.disc(28.0f, 8.0f, 2.0f, Colour{30, 30, 40, 255});
    canvas.disc(44.0f, 8.0f, 2.0f, Colour{30, 30, 40, 255});
    return canvas;
}

Canvas liftCanvas() {
    Canvas canvas(160, 24);
    canvas.roundedRect(0, 0, 160, 24, 6.0f, Colour{90, 110, 140, 255});
    canvas.fillRect(6, 4, 148, 4, Colour{170, 190, 215, 255});
    for (int bolt = 0; bolt < 5; ++bolt) {
        canvas.disc(16.0f + 32.0f * static_cast<float>(bolt), 16.0f, 3.0f, Colour{50, 60, 80, 255});
    }
    return canvas;
}

std::shared_ptr<KXModelAnimation> pictureAnimation(DemoGame& game, const std::string& name,
                                                   const Canvas& canvas, float duration) {
    auto animation = game.make<KXModelAnimation>("KXModelAnimation", name);
    animation->speedAttribute()->setValue(1.0f, true);
    animation->durationAttribute()->setValue(duration, true);
    animation->loopAttribute()->setValue(true, true);
    auto image = game.make<KXModelObjectImage>("KXModelObjectImage", name + " Picture");
    image->setImage(game.picture(name, canvas));
    image->autohideAttribute()->setValue(0.0f, true);
    animation->addChild(image, true);
    return animation;
}

std::shared_ptr<KXModelAssetObstacle> obstacle(DemoGame& game, const std::string& name,
                                               const Canvas& canvas) {
    auto asset = game.make<KXModelAssetObstacle>("KXModelAssetObstacle", name);
    asset->setIdleAnimation(pictureAnimation(game, name + " Idle", canvas, 1.0f));
    auto shape = game.make<KXModelPolygon>("KXModelPolygon", name + " Shape");
    shape->replaceWithBox(CCSize(static_cast<float>(canvas.width()), static_cast<float>(canvas.height())),
                          CCPoint(0.0f, 0.0f), true);
    asset->collisionShapeAttribute()->setValue(shape, true);
    return asset;
}

void place(DemoGame& game, KXModelLevelSection& section, const std::string& name,
           const std::shared_ptr<KXModelAssetObstacle>& asset, const std::string& kind, CCPoint position,
           int depth, CCPoint velocity = CCPoint(0.0f, 0.0f)) {
    auto placed = game.make<KXModelObjectAssetUnit>("KXModelObjectAssetUnit", name);
    placed->setAsset(asset);
    placed->setObjectType(kind);
    placed->positionAttribute()->setValue(position, true);
    placed->scaleAttribute()->setValue(CCPoint(1.0f, 1.0f), true);
    placed->zDepthAttribute()->setValue(depth, true);
    placed->setLinearVelocity(velocity);
    section.addChild(placed, true);
}

KXModelLevelSection* unitsSection(KXModelScreen& scene) {
    for (const auto& child : scene.children()) {
        auto* section = dynamic_cast<KXModelLevelSection*>(child.get());
        if (section != nullptr && section->name() == kDemoUnitsSection) {
            return section;
        }
    }
    return nullptr;
}

} // namespace

void addDemoComponentUnits(DemoGame& game, KXModelScreen& scene) {
    KXModelLevelSection* section = unitsSection(scene);
    if (section == nullptr) {
        return;
    }
    // The armoured crab stands in the cannon's line of fire, in front of the other crabs: three
    // balls, a red flash at each of the first two, and down a quarter of a second after the third.
    const Colour steel{120, 130, 160, 255};
    auto armoured = obstacle(game, kDemoArmouredCrab, armouredCrabCanvas(steel, false));
    armoured->defeatedAnimationAttribute()->setValue(
        pictureAnimation(game, "Armoured Crab Flat", armouredCrabCanvas(steel, true), 0.4f), true);
    auto health = game.make<KXModelComponentHealth>("KXModelComponentHealth", "Armour");
    health->healthAttribute()->setValue(3.0f, true);
    health->deathDelayAttribute()->setValue(0.25f, true);
    health->takingDamageAnimationAttribute()->setValue(
        pictureAnimation(game, "Armoured Crab Hurt", armouredCrabCanvas(Colour{235, 70, 60, 255}, false),
                         0.3f),
        true);
    armoured->addChild(health, true);
    place(game, *section, kDemoArmouredCrab, armoured, "kEnemyObjectType", CCPoint(930.0f, 102.0f), 8);

    // The lift rises at 2 m/s for 1.5 s each time "LIFT" is let go.
    auto lift = obstacle(game, kDemoLift, liftCanvas());
    auto move = game.make<KXModelComponentMove>("KXModelComponentMove", "Rise");
    static_cast<KXAttributeString*>(move->attribute("Event"))
        ->setValue(std::string("kButton-") + kDemoLift + "-0", true);
    static_cast<KXAttributeBool*>(move->attribute("Activate On Release"))->setValue(true, true);
    auto* velocity = static_cast<KXAttributePoint*>(move->attribute("Linear Velocity"));
    velocity->setEmpty(false, true);
    velocity->setValue(CCPoint(0.0f, 2.0f), true);
    static_cast<KXAttributeFloat*>(move->attribute("Timeout"))->setValue(1.5f, true);
    lift->addChild(move, true);
    place(game, *section, kDemoLift, lift, "kPlatformObjectType", CCPoint(620.0f, 330.0f), 6);
}

void addDemoLiftButton(DemoGame& game, KXModelScreen& hud) {
    addButton(game, hud, "KXModelObjectButtonControl", kDemoLift, "LIFT", "kInputControllerActionButton",
              Colour{90, 110, 140, 255}, CCPoint(kWidth - 170.0f, 340.0f), 5);
}

} // namespace demo
} // namespace kxdata
