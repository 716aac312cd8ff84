#include "tools/kxdata/sample_scenes.h"

#include <memory>
#include <string>

#include "cocos2d.h"
#include "model/KXBaseAttribute.h"
#include "model/attributes/KXAttributeGeometry.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelLinker.h"
#include "model/classes/KXModelObject.h"
#include "model/classes/KXModelScreen.h"
#include "model/classes/KXModelScreenScene.h"
#include "model/classes/KXModelSound.h"
#include "model/classes/KXNode.h"
#include "model/references/KXAttributeSound.h"
#include "tools/kxdata/KXSampleGame.h"

using cocos2d::CCPoint;

namespace kxdata {

namespace {

struct NodeAndScreen {
    std::shared_ptr<KXNode> node;
    std::shared_ptr<KXModelScreen> screen;
};

// The game's node of that class whose screen has that name; made (with its screen) when the
// game has none yet.
NodeAndScreen ensureNode(SampleGame& game, const char* nodeClass, const char* screenClass,
                         const std::string& screenName) {
    for (const std::shared_ptr<KXModel>& model : game.models) {
        std::shared_ptr<KXNode> node = modelKindCast<KXNode>(model);
        if (!node || std::string(node->className()) != nodeClass) {
            continue;
        }
        std::shared_ptr<KXModelScreen> screen = node->screen();
        if (screen && screen->name() == screenName) {
            return {node, screen};
        }
    }
    auto node = std::static_pointer_cast<KXNode>(game.make(nodeClass, ""));
    auto screen = std::static_pointer_cast<KXModelScreen>(game.make(screenClass, screenName));
    node->addChild(screen, true);
    return {node, screen};
}

// The game's first model of that class name.
template <class T> std::shared_ptr<T> findFirst(const SampleGame& game, const char* className) {
    for (const std::shared_ptr<KXModel>& model : game.models) {
        if (std::string(model->className()) == className) {
            return modelKindCast<T>(model);
        }
    }
    return nullptr;
}

template <class T> std::shared_ptr<T> findModel(const SampleGame& game, const std::string& name) {
    for (const std::shared_ptr<KXModel>& model : game.models) {
        std::shared_ptr<T> typed = modelCast<T>(model);
        if (typed && typed->name() == name) {
            return typed;
        }
    }
    return nullptr;
}

// An output port added in the editor, linked to the target's "Load".
void linkPort(const std::shared_ptr<KXNode>& from, const std::string& port,
              const std::shared_ptr<KXNode>& to) {
    KXBaseAttribute* output = from->attribute(port);
    if (output == nullptr) {
        output = new KXAttribute(port, from.get());
        output->setConnectionKind(KXAttributeConnectionOutput, true);
    }
    output->connect(to->loadPort(), true);
}

void describeScreen(KXModelScreen& screen, const std::string& key, const std::string& banner,
                    float bannerFrequency) {
    screen.keyAttribute()->setValue(key, true);
    screen.adBannerAttribute()->setValue(banner, true);
    screen.adInterstitialAttribute()->setValue(KXModelScreen::kNoAds, true);
    screen.adBannerFrequencyAttribute()->setValue(bannerFrequency, true);
}

std::shared_ptr<KXModelObject> placeObject(SampleGame& game, KXModel& parent, const std::string& name,
                                           CCPoint position, int depth) {
    auto object = std::static_pointer_cast<KXModelObject>(game.make("KXModelObject", name));
    object->positionAttribute()->setValue(position, true);
    object->zDepthAttribute()->setValue(depth, true);
    parent.addChild(object, true);
    return object;
}

// A level section with two objects joined by a linker, and one linked object pair per extra.
std::shared_ptr<KXModelLevelSection> ensureSection(SampleGame& game, KXModelScreenScene& scene, int index) {
    const std::string name = "Section " + std::to_string(index);
    std::shared_ptr<KXModelLevelSection> section = findModel<KXModelLevelSection>(game, name);
    if (!section) {
        section = std::static_pointer_cast<KXModelLevelSection>(game.make("KXModelLevelSection", name));
        scene.addChild(section, true);
    }
    const float start = 1200.0f * static_cast<float>(index - 1);
    section->initSectionAttribute()->setValue(index == 1, true);
    section->startDistanceAttribute()->setValue(start, true);
    section->endDistanceAttribute()->setValue(start + 1200.0f, true);
    section->widthAttribute()->setValue(1200.0f, true);
    section->playCooldownAttribute()->setValue(static_cast<float>(index), true);

    auto base =
        placeObject(game, *section, "Seesaw Base " + std::to_string(index), CCPoint(300.0f, 80.0f), 1);
    auto plank =
        placeObject(game, *section, "Seesaw Plank " + std::to_string(index), CCPoint(300.0f, 120.0f), 2);
    auto linker = std::static_pointer_cast<KXModelLinker>(
        game.make("KXModelLinker", "Seesaw Hinge " + std::to_string(index)));
    linker->setObjects(base, plank, true);
    linker->speedAttribute()->setValue(1.5f, true);
    linker->buttonActivatedAttribute()->setValue(index == 2, true);
    section->addChild(linker, true);
    return section;
}

void describeGameScene(SampleGame& game, KXModelScreenScene& scene) {
    scene.gravityAttribute()->setValue(CCPoint(0.0f, -40.0f), true);
    scene.gameSpeedMinAttribute()->setValue(4.0f, true);
    scene.gameSpeedMaxAttribute()->setValue(12.0f, true);
    scene.speedIncreaseAttribute()->setValue(0.2f, true);
    scene.frictionAttribute()->setValue(0.3f, true);
    scene.scoreMultiplierAttribute()->setValue(2.0f, true);
    scene.alignCameraBordersAttribute()->setValue(true, true);
    scene.objectFrameRectAttribute()->setValue(cocos2d::CCRect(0.0f, 0.0f, 1136.0f, 640.0f), true);
    scene.objectFrameStateAttribute(3)->setValue(KXObjectFrameEdgeKill, true);
    for (int index = 1; index <= 3; ++index) {
        ensureSection(game, scene, index);
    }
    if (std::shared_ptr<KXModelLinker> links = findModel<KXModelLinker>(game, "Section Links")) {
        std::shared_ptr<KXModelObject> ground = findModel<KXModelObject>(game, "Ground");
        auto anchor = placeObject(game, scene, "Camera Anchor", CCPoint(568.0f, 320.0f), 0);
        links->setObjects(anchor, ground, true);
    }
}

} // namespace

void addSampleScenes(SampleGame& game) {
    // The start node only leads on, through its "Load" output, to the title's node.
    std::shared_ptr<KXNode> start = findFirst<KXNode>(game, "KXNodeUIStart");
    if (!start) {
        start = std::static_pointer_cast<KXNode>(game.make("KXNodeUIStart", ""));
    }
    NodeAndScreen title;
    std::shared_ptr<KXModelScreen> startScreen = start->screen();
    if (startScreen && startScreen->name() == "Title Screen") {
        title.node = std::static_pointer_cast<KXNode>(game.make("KXNodeUI", ""));
        start->removeChild(startScreen, true);
        title.node->addChild(startScreen, true);
        title.screen = startScreen;
    } else {
        title = ensureNode(game, "KXNodeUI", "KXModelScreen", "Title Screen");
    }
    // The player finds its first UI node by the start screen's key: without it the start node's
    // "Load" leads nowhere. The loading screen is that screen.
    if (!start->screen()) {
        if (std::shared_ptr<KXModelScreen> loading = findModel<KXModelScreen>(game, "Loading Screen")) {
            start->addChild(loading, true);
            describeScreen(*loading, "KXPScreenStart", KXModelScreen::kNoAds, 1.0f);
        }
    }
    NodeAndScreen shop = ensureNode(game, "KXNodeUI", "KXModelScreen", "Shop Screen");
    NodeAndScreen world = ensureNode(game, "KXNodeScene", "KXModelScreenScene", "Game Field Screen");
    NodeAndScreen hud = ensureNode(game, "KXNodeUI", "KXModelScreen", "HUD Screen");
    NodeAndScreen over = ensureNode(game, "KXNodeUI", "KXModelScreen", "Game Over Screen");

    start->setName("Start");
    title.node->setName("Title");
    shop.node->setName("Shop");
    world.node->setName("World 1");
    hud.node->setName("HUD");
    over.node->setName("Game Over");
    title.node->positionAttribute()->setValue(CCPoint(200.0f, 0.0f), true);
    world.node->positionAttribute()->setValue(CCPoint(400.0f, 0.0f), true);

    describeScreen(*title.screen, "title", KXModelScreen::kNoAds, 1.0f);
    describeScreen(*shop.screen, "shop", "kAdMob", 2.0f);
    describeScreen(*world.screen, "world1", KXModelScreen::kNoAds, 1.0f);
    describeScreen(*hud.screen, "hud", "kAdMob", 3.0f);
    describeScreen(*over.screen, "gameover", "kAdMob", 1.0f);
    title.screen->idleAnimationLoopAttribute()->setValue(true, true);
    over.screen->closeAnimationFramesAttribute()->setValue(20, true);
    if (std::shared_ptr<KXModelSound> music = findModel<KXModelSound>(game, "Music")) {
        title.screen->musicAttribute()->setValue(music, true);
        world.screen->musicAttribute()->setValue(music, true);
        world.screen->stopMusicOnDeathAttribute()->setValue(true, true);
    }
    placeObject(game, *hud.screen, "Score Label Anchor", CCPoint(1100.0f, 600.0f), 5);
    placeObject(game, *over.screen, "Panel", CCPoint(568.0f, 320.0f), 1);

    linkPort(start, "Load", title.node);
    linkPort(title.node, "Play", world.node);
    linkPort(title.node, "Shop", shop.node);
    linkPort(shop.node, "Back", title.node);
    linkPort(world.node, "UI", hud.node);
    linkPort(world.node, "Game Over", over.node);
    linkPort(over.node, "Retry", world.node);
    linkPort(over.node, "Menu", title.node);

    if (auto scene = modelCast<KXModelScreenScene>(world.screen)) {
        describeGameScene(game, *scene);
    }
}

} // namespace kxdata
