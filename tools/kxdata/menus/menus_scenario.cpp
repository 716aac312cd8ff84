#include "tools/kxdata/menus/menus_scenario.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "model/KXModelController.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelAnimation.h"
#include "model/classes/KXModelAssetPowerup.h"
#include "model/classes/KXModelGeneralSettings.h"
#include "model/classes/KXModelObjectButton.h"
#include "model/classes/KXModelObjectImage.h"
#include "model/classes/KXModelObjectLabel.h"
#include "model/classes/KXModelScreen.h"
#include "model/references/KXAttributeAnimation.h"
#include "model/references/KXAttributeSound.h"
#include "model/references/KXAttributeSprite.h"
#include "tools/kxdata/menus/menus_parts.h"

using cocos2d::CCPoint;

namespace kxdata {
namespace menus {

void addBackdrop(DemoGame& game, KXModelScreen& screen, const std::string& name, Colour top, Colour bottom,
                 Colour accent, unsigned seed) {
    demo::addImage(game, screen, name + " Backdrop",
                   game.picture(name + " Backdrop", demo::backdropCanvas(top, bottom, accent, seed)),
                   CCPoint(demo::kWidth * 0.5f, demo::kHeight * 0.5f), CCPoint(8.0f, 8.0f), 0);
    std::string title = name;
    std::transform(title.begin(), title.end(), title.begin(),
                   [](unsigned char c) { return std::toupper(c); });
    demo::addText(game, screen, name + " Title", title, CCPoint(demo::kWidth * 0.5f, 560.0f), 2.0f, 2);
}

void addScoreText(DemoGame& game, KXModelScreen& screen, const std::string& name,
                  const std::string& scoreType, const std::string& amount, CCPoint position) {
    auto label = demo::addText(game, screen, name, "0", position, 0.8f, 2);
    label->actionAttribute()->setValue("kScoreVector", true);
    label->worldAttribute()->setValue("kGlobal", true);
    label->scoreTypeAttribute()->setValue(scoreType, true);
    label->amountAttribute()->setValue(amount, true);
    label->alignmentAttribute()->setValue("kCCTextAlignmentLeft", true);
}

std::shared_ptr<KXModelObjectButton> addPlain(DemoGame& game, KXModelScreen& screen, const std::string& name,
                                              const std::string& caption, const std::string& action,
                                              Colour colour, CCPoint position) {
    return demo::addButton(game, screen, "KXModelObjectButton", name, caption, action, colour, position, 5);
}

std::shared_ptr<KXModelAnimation> pictureAnimation(DemoGame& game, const std::string& name,
                                                   const std::shared_ptr<KXModelSpriteContainer>& picture,
                                                   CCPoint position) {
    auto animation = game.make<KXModelAnimation>("KXModelAnimation", name);
    animation->speedAttribute()->setValue(1.0f, true);
    animation->durationAttribute()->setValue(1.0f, true);
    animation->loopAttribute()->setValue(true, true);
    auto image = game.make<KXModelObjectImage>("KXModelObjectImage", name + " Picture");
    image->setImage(picture);
    image->autohideAttribute()->setValue(0.0f, true);
    image->positionAttribute()->setValue(position, true);
    animation->addChild(image, true);
    return animation;
}

std::shared_ptr<KXModelAssetPowerup> addPowerup(DemoGame& game, const std::string& name,
                                                const std::string& type, Colour colour, float coins,
                                                float points) {
    auto powerup = game.make<KXModelAssetPowerup>("KXModelAssetPowerup", name);
    powerup->powerupTypeAttribute()->setValue(type, true);
    powerup->rewardCoinsAttribute()->setValue(coins, true);
    powerup->rewardPointsAttribute()->setValue(points, true);
    demo::Canvas canvas(48, 48);
    canvas.disc(24.0f, 24.0f, 22.0f, demo::mix(colour, Colour{0, 0, 0, 255}, 0.3f));
    canvas.disc(24.0f, 24.0f, 17.0f, colour);
    canvas.disc(18.0f, 17.0f, 6.0f, Colour{255, 255, 255, 150});
    powerup->idleAnimationAttribute()->setValue(
        pictureAnimation(game, name + " Idle", game.picture(name + " Powerup", std::move(canvas))), true);
    return powerup;
}

demo::DemoGame buildMenusGame() {
    KXModelController::shared()->clear();
    DemoGame game;
    demo::addDemoSettings(game);
    game.settings->applicationNameAttribute()->setValue("KX Menus", true);
    demo::addDemoMedia(game);
    demo::addDemoLoading(game);
    addMenu(game);
    // The arena's hero comes first among the characters: the one every store starts with.
    addArena(game);
    addShop(game);
    addHeroes(game);
    addLevels(game);
    addExtras(game);
    addGraph(game);
    demo::addDemoAtlas(game);
    demo::recordLastId(game);
    return game;
}

size_t writeMenusScenario(const std::string& dir) {
    DemoGame game = buildMenusGame();
    return demo::writeGameFiles(dir, game);
}

} // namespace menus
} // namespace kxdata
