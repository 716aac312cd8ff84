#include "tools/kxdata/hostile/hostile_parts.h"

#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/classes/KXModelAnimation.h"
#include "model/classes/KXModelAssetCharacter.h"
#include "model/classes/KXModelAssetObstacle.h"
#include "model/classes/KXModelComponentCharacterGameplaySettings.h"
#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelObjectAssetCharacter.h"
#include "model/classes/KXModelObjectAssetUnit.h"
#include "model/classes/KXModelObjectImage.h"
#include "model/classes/KXModelPolygon.h"
#include "model/classes/KXModelScreen.h"
#include "model/references/KXAttributeAnimation.h"
#include "model/references/KXAttributeShape.h"

using cocos2d::CCPoint;
using cocos2d::CCSize;

namespace kxdata {
namespace hostile {

using demo::Canvas;
using demo::Colour;
using demo::DemoGame;

namespace {

constexpr float kWidth = demo::kWidth;

Canvas runnerCanvas() {
    Canvas canvas(40, 60);
    canvas.roundedRect(4, 0, 32, 48, 8.0f, Colour{240, 120, 200, 255});
    canvas.fillRect(8, 48, 8, 12, Colour{80, 40, 90, 255});
    canvas.fillRect(24, 48, 8, 12, Colour{80, 40, 90, 255});
    canvas.disc(26.0f, 14.0f, 5.0f, Colour{255, 255, 255, 255});
    canvas.disc(27.0f, 14.0f, 2.5f, Colour{20, 20, 40, 255});
    return canvas;
}

} // namespace

Canvas block(int width, int height, Colour fill, Colour edge) {
    Canvas canvas(width, height, edge);
    canvas.fillRect(2, 2, width - 4, height - 4, fill);
    return canvas;
}

// --- models ---

std::shared_ptr<KXModelAnimation> still(DemoGame& game, const std::string& name,
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

std::shared_ptr<KXModelPolygon> box(DemoGame& game, const std::string& name, CCSize size) {
    auto shape = game.make<KXModelPolygon>("KXModelPolygon", name);
    shape->replaceWithBox(size, CCPoint(0.0f, 0.0f), true);
    return shape;
}

std::shared_ptr<KXModelAssetObstacle> obstacle(DemoGame& game, const std::string& name, Canvas canvas) {
    const CCSize size(static_cast<float>(canvas.width()), static_cast<float>(canvas.height()));
    auto asset = game.make<KXModelAssetObstacle>("KXModelAssetObstacle", name);
    asset->setIdleAnimation(still(game, name + " Idle", game.picture(name, std::move(canvas))));
    asset->collisionShapeAttribute()->setValue(box(game, name + " Shape", size), true);
    return asset;
}

std::shared_ptr<KXModelObjectAssetUnit> unit(DemoGame& game, KXModelLevelSection& section,
                                             const std::string& name,
                                             const std::shared_ptr<KXModelAssetObstacle>& asset,
                                             const std::string& kind, CCPoint position, int depth) {
    auto placed = game.make<KXModelObjectAssetUnit>("KXModelObjectAssetUnit", name);
    placed->setAsset(asset);
    placed->setObjectType(kind);
    place(*placed, position, depth);
    section.addChild(placed, true);
    return placed;
}

std::shared_ptr<KXModelLevelSection> section(DemoGame& game, KXModelScreen& scene, const std::string& name,
                                             bool opening) {
    auto made = game.make<KXModelLevelSection>("KXModelLevelSection", name);
    made->initSectionAttribute()->setValue(opening, true);
    made->widthAttribute()->setValue(kWidth, true);
    made->startDistanceAttribute()->setValue(0.0f, true);
    made->endDistanceAttribute()->setValue(-1.0f, true);
    scene.addChild(made, true);
    return made;
}

void addFloor(DemoGame& game, KXModelLevelSection& into, const std::shared_ptr<KXModelAssetObstacle>& slab) {
    for (int index = 0; index < 4; ++index) {
        unit(game, into, into.name() + " Floor " + std::to_string(index + 1), slab, "kPlatformObjectType",
             CCPoint(142.0f + 284.0f * static_cast<float>(index), kFloorTop - 20.0f), 3);
    }
}

std::shared_ptr<KXModelObjectAssetCharacter> addRunner(DemoGame& game, KXModelLevelSection& into,
                                                       const std::string& name) {
    auto runner = game.make<KXModelAssetCharacter>("KXModelAssetCharacter", name);
    runner->collisionShapeAttribute()->setValue(box(game, name + " Shape", CCSize(40.0f, 60.0f)), true);
    runner->defaultAnimationAttribute()->setValue(
        still(game, name + " Idle", game.picture(name, runnerCanvas())), true);
    auto physics = game.make<KXModelComponentCharacterGameplaySettings>(
        "KXModelComponentCharacterGameplaySettings", name + " Physics");
    set<KXAttributePoint>(*physics, "Max Speed", CCPoint(12.0f, 0.0f));
    set<KXAttributePoint>(*physics, "Jump Force", CCPoint(0.0f, 10.0f));
    set<KXAttributeBool>(*physics, "Jump From Ground", true);
    set<KXAttributeBool>(*physics, "Forced Movement", false);
    set<KXAttributeBool>(*physics, "Fixed Rotation", true);
    runner->addChild(physics, true);
    auto placed = game.make<KXModelObjectAssetCharacter>("KXModelObjectAssetCharacter", name);
    placed->setAsset(runner);
    place(*placed, CCPoint(200.0f, kFloorTop + 32.0f), 10);
    into.addChild(placed, true);
    return placed;
}

} // namespace hostile
} // namespace kxdata
