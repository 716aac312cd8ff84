#include "tools/kxdata/demo/demo_game.h"
#include "tools/kxdata/demo/demo_characters.h"

#include <stdexcept>

#include "model/KXBaseAttribute.h"
#include "model/KXModelController.h"
#include "model/attributes/KXAttributeGeometry.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelFont.h"
#include "model/classes/KXModelGeneralSettings.h"
#include "model/classes/KXModelObjectButton.h"
#include "model/classes/KXModelObjectImage.h"
#include "model/classes/KXModelObjectLabel.h"
#include "model/classes/KXModelScreen.h"
#include "model/classes/KXModelSound.h"
#include "model/classes/KXModelSprite.h"
#include "model/classes/KXModelSpriteContainer.h"
#include "model/classes/KXNode.h"
#include "model/references/KXAttributeSound.h"
#include "model/references/KXAttributeSprite.h"
#include "tools/kxdata/demo/demo_powerups.h"
#include "tools/kxdata/effects/effects_demo.h"

using cocos2d::CCPoint;

namespace kxdata {
namespace demo {

std::shared_ptr<KXModel> DemoGame::make(const std::string& className, const std::string& name) {
    std::shared_ptr<KXModel> model = KXModelController::shared()->createModel(className);
    if (!model) {
        throw std::runtime_error("no model class " + className);
    }
    model->setName(name);
    models.push_back(model);
    return model;
}

std::shared_ptr<KXModelSpriteContainer> DemoGame::picture(const std::string& name, Canvas canvas) {
    auto sprite = make<KXModelSprite>("KXModelSprite", name);
    const float width = static_cast<float>(canvas.width());
    const float height = static_cast<float>(canvas.height());
    sprite->sizeAttribute()->setValue(cocos2d::CCSize(width, height), true);
    sprite->sourceSizeAttribute()->setValue(cocos2d::CCSize(width, height), true);
    sprite->sourceRectAttribute()->setValue(cocos2d::CCRect(0.0f, 0.0f, width, height), true);
    auto container = make<KXModelSpriteContainer>("KXModelSpriteContainer", name);
    container->addChild(sprite, true);
    pictures.push_back(Picture{name, std::move(canvas), container});
    return container;
}

std::shared_ptr<KXModelSpriteContainer> DemoGame::effect(const std::string& name, Canvas canvas) {
    auto container = picture(name, std::move(canvas));
    effects.push_back(std::move(pictures.back()));
    pictures.pop_back();
    return container;
}

std::shared_ptr<KXModelSound> DemoGame::sound(const std::string& name, std::vector<std::string> notes) {
    auto model = make<KXModelSound>("KXModelSound", name);
    sounds.push_back(SoundFile{model, std::move(notes)});
    return model;
}

ScreenNode& DemoGame::addScreen(const std::string& nodeClass, const std::string& screenClass,
                                const std::string& key, const std::string& name) {
    ScreenNode entry;
    entry.node = make<KXNode>(nodeClass, name);
    entry.screen = make<KXModelScreen>(screenClass, name + " Screen");
    entry.screen->keyAttribute()->setValue(key, true);
    entry.screen->adBannerAttribute()->setValue(KXModelScreen::kNoAds, true);
    entry.screen->adInterstitialAttribute()->setValue(KXModelScreen::kNoAds, true);
    entry.node->addChild(entry.screen, true);
    return screens[key] = entry;
}

ScreenNode& DemoGame::screen(const std::string& key) {
    const auto found = screens.find(key);
    if (found == screens.end()) {
        throw std::runtime_error("the demo has no screen " + key);
    }
    return found->second;
}

namespace {

template <class T> void place(T& object, CCPoint position, CCPoint scale, int depth) {
    object.positionAttribute()->setValue(position, true);
    object.scaleAttribute()->setValue(scale, true);
    object.zDepthAttribute()->setValue(depth, true);
}

} // namespace

std::shared_ptr<KXModelObjectImage> addImage(DemoGame& game, KXModelScreen& screen, const std::string& name,
                                             const std::shared_ptr<KXModelSpriteContainer>& picture,
                                             CCPoint position, CCPoint scale, int depth) {
    auto image = game.make<KXModelObjectImage>("KXModelObjectImage", name);
    image->setImage(picture);
    image->autohideAttribute()->setValue(0.0f, true);
    image->stickToEdgeAttribute()->setValue(false, true);
    place(*image, position, scale, depth);
    screen.addChild(image, true);
    return image;
}

std::shared_ptr<KXModelObjectLabel> addText(DemoGame& game, KXModelScreen& screen, const std::string& name,
                                            const std::string& text, CCPoint position, float scale,
                                            int depth) {
    auto label = game.make<KXModelObjectLabel>("KXModelObjectLabel", name);
    // Labels name their font by id.
    label->fontAttribute()->setValue(std::to_string(game.font->id()), true);
    label->actionAttribute()->setValue("kCustomVector", true);
    label->textAttribute()->setValue(text, true);
    label->alignmentAttribute()->setValue("kCCTextAlignmentCenter", true);
    label->autohideAttribute()->setValue(0.0f, true);
    label->stickToEdgeAttribute()->setValue(false, true);
    place(*label, position, CCPoint(scale, scale), depth);
    screen.addChild(label, true);
    return label;
}

std::shared_ptr<KXModelObjectButton> addButton(DemoGame& game, KXModelScreen& screen,
                                               const std::string& className, const std::string& name,
                                               const std::string& caption, const std::string& action,
                                               Colour colour, CCPoint position, int depth,
                                               const std::string& litCaption) {
    auto button = game.make<KXModelObjectButton>(className, name);
    button->setImage(game.picture(name + " Button", buttonCanvas(caption, colour, false)));
    const std::string lit = litCaption.empty() ? caption : litCaption;
    button->imageSelectedAttribute()->setValue(
        game.picture(name + " Button Lit", buttonCanvas(lit, colour, true)), true);
    button->actionAttribute()->setValue(action, true);
    button->intervalAttribute()->setValue(0.0f, true);
    button->blockTouchAttribute()->setValue(true, true);
    button->autohideAttribute()->setValue(0.0f, true);
    button->stickToEdgeAttribute()->setValue(false, true);
    if (game.click) {
        button->clickSoundAttribute()->setValue(game.click, true);
    }
    place(*button, position, CCPoint(1.0f, 1.0f), depth);
    screen.addChild(button, true);
    return button;
}

void linkPort(const ScreenNode& from, const std::string& port, const ScreenNode& to) {
    KXBaseAttribute* output = from.node->attribute(port);
    if (output == nullptr) {
        output = new KXAttribute(port, from.node.get());
        output->setConnectionKind(KXAttributeConnectionOutput, true);
    }
    output->connect(to.node->loadPort(), true);
}

DemoGame buildDemoGame() {
    KXModelController::shared()->clear();
    DemoGame game;
    addDemoSettings(game);
    addDemoMedia(game);
    addDemoLoading(game);
    addDemoMenu(game);
    addDemoShop(game);
    addDemoLevels(game);
    addDemoScene(game);
    addDemoCharacters(game);
    effects::addDemoEffects(game);
    addDemoEnd(game);
    addDemoPause(game);
    addDemoGraph(game);
    addDemoPowerups(game);
    addDemoAtlas(game);
    recordLastId(game);
    return game;
}

} // namespace demo
} // namespace kxdata
