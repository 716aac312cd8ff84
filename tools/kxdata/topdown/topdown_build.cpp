#include "tools/kxdata/topdown/topdown_build.h"

#include <algorithm>
#include <cstdio>

#include "model/KXModelController.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/classes/KXModelAnimation.h"
#include "model/classes/KXModelAssetObstacle.h"
#include "model/classes/KXModelAssetPowerup.h"
#include "model/classes/KXModelCircle.h"
#include "model/classes/KXModelFont.h"
#include "model/classes/KXModelGeneralSettings.h"
#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelObjectAssetPowerup.h"
#include "model/classes/KXModelObjectAssetUnit.h"
#include "model/classes/KXModelObjectImage.h"
#include "model/classes/KXModelObjectLabel.h"
#include "model/classes/KXModelPolygon.h"
#include "model/classes/KXModelScreen.h"
#include "model/classes/KXModelScreenScene.h"
#include "model/classes/KXModelSpriteContainer.h"
#include "model/references/KXAttributeAnimation.h"
#include "model/references/KXAttributeShape.h"

using cocos2d::CCPoint;
using cocos2d::CCSize;

namespace kxdata {
namespace topdown {

namespace {
std::shared_ptr<KXModelAnimation> animationOf(DemoGame& game, const std::string& name,
                                              const std::shared_ptr<KXModelSpriteContainer>& pictures,
                                              float duration, bool loop) {
    auto animation = game.make<KXModelAnimation>("KXModelAnimation", name);
    animation->speedAttribute()->setValue(1.0f, true);
    animation->durationAttribute()->setValue(duration, true);
    animation->loopAttribute()->setValue(loop, true);
    auto image = game.make<KXModelObjectImage>("KXModelObjectImage", name + " Picture");
    image->setImage(pictures);
    image->autohideAttribute()->setValue(0.0f, true);
    animation->addChild(image, true);
    return animation;
}
} // namespace

std::shared_ptr<KXModelAnimation> look(DemoGame& game, const std::string& name, Canvas canvas, float duration,
                                       bool loop) {
    return animationOf(game, name, game.picture(name, std::move(canvas)), duration, loop);
}

std::shared_ptr<KXModelAnimation> frames(DemoGame& game, const std::string& name,
                                         std::vector<Canvas> pictures, float framesPerSecond) {
    auto container = game.make<KXModelSpriteContainer>("KXModelSpriteContainer", name + " Frames");
    // A frame lasts 1/30 s divided by the container's speed.
    container->animationSpeedAttribute()->setValue(framesPerSecond / 30.0f, true);
    const size_t count = pictures.size();
    for (size_t index = 0; index < count; ++index) {
        const auto picture = game.picture(name + " " + std::to_string(index + 1), std::move(pictures[index]));
        // The sprite stays in its own one-picture container too: that one goes to the atlas.
        container->addChild(picture->sprites().front(), true);
    }
    return animationOf(game, name, container, static_cast<float>(count) / framesPerSecond, true);
}

std::shared_ptr<KXModelPolygon> box(DemoGame& game, const std::string& name, float width, float height) {
    auto shape = game.make<KXModelPolygon>("KXModelPolygon", name);
    shape->replaceWithBox(CCSize(width, height), CCPoint(0.0f, 0.0f), true);
    return shape;
}

std::shared_ptr<KXModelPolygon> round(DemoGame& game, const std::string& name, float radius) {
    auto circle = game.make<KXModelCircle>("KXModelCircle", name);
    circle->addPoint(CCPoint(0.0f, 0.0f), true);
    circle->addPoint(CCPoint(radius, 0.0f), true);
    return circle;
}

std::shared_ptr<KXModelAssetObstacle> obstacle(DemoGame& game, const std::string& name, const Canvas& canvas,
                                               std::shared_ptr<KXModelPolygon> shape) {
    auto asset = game.make<KXModelAssetObstacle>("KXModelAssetObstacle", name);
    asset->setIdleAnimation(look(game, name, canvas));
    if (!shape) {
        shape = box(game, name + " Shape", static_cast<float>(canvas.width()),
                    static_cast<float>(canvas.height()));
    }
    asset->collisionShapeAttribute()->setValue(shape, true);
    return asset;
}

std::shared_ptr<KXModelObjectAssetUnit> placeUnit(DemoGame& game, KXModelLevelSection& section,
                                                  const std::string& name,
                                                  const std::shared_ptr<KXModelAssetObstacle>& asset,
                                                  const std::string& kind, CCPoint position, int depth,
                                                  CCPoint scale) {
    auto placed = game.make<KXModelObjectAssetUnit>("KXModelObjectAssetUnit", name);
    placed->setAsset(asset);
    placed->setObjectType(kind);
    placed->positionAttribute()->setValue(position, true);
    placed->scaleAttribute()->setValue(scale, true);
    placed->zDepthAttribute()->setValue(depth, true);
    section.addChild(placed, true);
    return placed;
}

std::shared_ptr<KXModelAssetPowerup> coinAsset(DemoGame& game, const std::string& name, const Canvas& canvas,
                                               float coins) {
    auto asset = game.make<KXModelAssetPowerup>("KXModelAssetPowerup", name);
    asset->idleAnimationAttribute()->setValue(look(game, name, canvas), true);
    asset->powerupTypeAttribute()->setValue("kPowerupCoin", true);
    asset->appearanceChanceAttribute()->setValue(100.0f, true);
    asset->rewardCoinsAttribute()->setValue(coins, true);
    asset->showCoinRewardAttribute()->setValue(true, true);
    asset->collisionShapeAttribute()->setValue(
        round(game, name + " Round", static_cast<float>(canvas.width()) * 0.4f), true);
    return asset;
}

std::shared_ptr<KXModelObjectAssetPowerup> placePowerup(DemoGame& game, KXModelLevelSection& section,
                                                        const std::shared_ptr<KXModelAssetPowerup>& asset,
                                                        const std::string& name, CCPoint position) {
    auto placed = game.make<KXModelObjectAssetPowerup>("KXModelObjectAssetPowerup", name);
    placed->setAsset(asset);
    placed->positionAttribute()->setValue(position, true);
    placed->zDepthAttribute()->setValue(9, true);
    section.addChild(placed, true);
    return placed;
}

void levelText(DemoGame& game, KXModelLevelSection& section, const std::string& name, const std::string& text,
               CCPoint position, float scale) {
    auto label = game.make<KXModelObjectLabel>("KXModelObjectLabel", name);
    // Labels name their font by id.
    label->fontAttribute()->setValue(std::to_string(game.font->id()), true);
    label->actionAttribute()->setValue("kCustomVector", true);
    label->textAttribute()->setValue(text, true);
    label->alignmentAttribute()->setValue("kCCTextAlignmentCenter", true);
    label->autohideAttribute()->setValue(0.0f, true);
    label->positionAttribute()->setValue(position, true);
    label->scaleAttribute()->setValue(CCPoint(scale, scale), true);
    label->zDepthAttribute()->setValue(20, true);
    section.addChild(label, true);
}

std::shared_ptr<KXModelLevelSection> roomSection(DemoGame& game, KXModelScreen& scene,
                                                 const std::string& name) {
    auto section = game.make<KXModelLevelSection>("KXModelLevelSection", name);
    section->initSectionAttribute()->setValue(true, true);
    section->startDistanceAttribute()->setValue(0.0f, true);
    section->endDistanceAttribute()->setValue(100000.0f, true);
    section->widthAttribute()->setValue(demo::kWidth, true);
    scene.addChild(section, true);
    return section;
}

demo::ScreenNode& addTopDownScene(DemoGame& game, const std::string& key, const std::string& name) {
    demo::ScreenNode& node = game.addScreen("KXNodeScene", "KXModelScreenScene", key, name);
    auto* scene = static_cast<KXModelScreenScene*>(node.screen.get());
    scene->gravityAttribute()->setValue(CCPoint(0.0f, 0.0f), true);
    scene->gameSpeedMinAttribute()->setValue(0.0f, true);
    scene->gameSpeedMaxAttribute()->setValue(0.0f, true);
    scene->speedIncreaseAttribute()->setValue(0.0f, true);
    return node;
}

void startGame(DemoGame& game, const std::string& applicationName) {
    demo::addDemoSettings(game);
    game.settings->applicationNameAttribute()->setValue(applicationName, true);
    game.font = game.make<KXModelFont>("KXModelFont", "Demo Dots");
    demo::addDemoLoading(game);
}

void finishGame(DemoGame& game) {
    demo::addDemoAtlas(game);
    demo::recordLastId(game);
}

size_t writeGame(const std::string& dir, const DemoGame& game) {
    return demo::writeGameFiles(dir, game);
}

} // namespace topdown
} // namespace kxdata
