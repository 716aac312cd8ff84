// The level select: the first level is free (its first press opens it and goes on at once), the
// second stays locked until 50 coins buy it; both lead to the game. The shop sells coins.
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelObjectLabel.h"
#include "model/classes/KXModelObjectLockButton.h"
#include "model/classes/KXModelScreen.h"
#include "model/references/KXAttributeSprite.h"
#include "tools/kxdata/demo/demo_attributes.h"
#include "tools/kxdata/demo/demo_game.h"

using cocos2d::CCPoint;

namespace kxdata {
namespace demo {

// The level select's colours; the end-to-end test looks for them.
const Colour kLevelsBottom{14, 60, 30, 255};
const Colour kLockedLevel{110, 110, 110, 255};
const Colour kOpenLevel{70, 190, 80, 255};

namespace {

void addLevel(DemoGame& game, KXModelScreen& screen, const std::string& name, const std::string& caption,
              float price, CCPoint position, bool autoFollow) {
    auto button =
        addButton(game, screen, "KXModelObjectLockButton", name, caption, "", kOpenLevel, position, 5);
    const std::string lockedCaption =
        price > 0.0f ? caption + " " + std::to_string(static_cast<int>(price)) : caption;
    if (auto* locked = dynamic_cast<KXAttributeSprite*>(button->attribute("Locked Image"))) {
        locked->setValue(game.picture(name + " Locked", buttonCanvas(lockedCaption, kLockedLevel, false)),
                         true);
    }
    if (auto* locked = dynamic_cast<KXAttributeSprite*>(button->attribute("Locked Image Selected"))) {
        locked->setValue(game.picture(name + " Locked Lit", buttonCanvas(lockedCaption, kLockedLevel, true)),
                         true);
    }
    setText(*button, "Unlock", "kInGameCurrency");
    if (auto* attribute = dynamic_cast<KXAttributeFloat*>(button->attribute("Price"))) {
        attribute->setValue(price, true);
    }
    if (auto* attribute = dynamic_cast<KXAttributeBool*>(button->attribute("Auto Follow"))) {
        attribute->setValue(autoFollow, true);
    }
}

} // namespace

void addDemoLevels(DemoGame& game) {
    ScreenNode& levels = game.addScreen("KXNodeUI", "KXModelScreen", "levels", "Levels");
    KXModelScreen& screen = *levels.screen;
    screen.closeAnimationFramesAttribute()->setValue(6, true);
    addImage(game, screen, "Levels Backdrop",
             game.picture("Levels Backdrop", backdropCanvas(Colour{40, 130, 70, 255}, kLevelsBottom,
                                                            Colour{170, 240, 170, 255}, 3)),
             CCPoint(kWidth * 0.5f, kHeight * 0.5f), CCPoint(8.0f, 8.0f), 0);
    addText(game, screen, "Levels Title", "LEVELS", CCPoint(kWidth * 0.5f, 545.0f), 2.0f, 2);
    auto coins = addText(game, screen, "Levels Coins", "0", CCPoint(kWidth * 0.5f, 470.0f), 1.0f, 2);
    coins->actionAttribute()->setValue("kScoreVector", true);
    coins->worldAttribute()->setValue("kGlobal", true);
    coins->amountAttribute()->setValue("kScoreTotal", true);

    addLevel(game, screen, "Level 1", "LEVEL 1", 0.0f, CCPoint(kWidth * 0.5f, 390.0f), true);
    addLevel(game, screen, "Level 2", "LEVEL 2", 50.0f, CCPoint(kWidth * 0.5f, 305.0f), false);
    addButton(game, screen, "KXModelObjectButton", "Levels Back", "BACK", "kBackButton",
              Colour{60, 140, 200, 255}, CCPoint(kWidth * 0.5f, 120.0f), 5);
}

} // namespace demo
} // namespace kxdata
