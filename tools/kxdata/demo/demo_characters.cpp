// The character selection ("characters"): the playable characters side by side on a carousel
// that a drag or a tap beside the middle one turns; the one in the middle is played when it is
// unlocked, a locked one shows its price and the unlock button buys it with coins. A pulsing
// badge offers a locked character the coins already pay for.
#include "tools/kxdata/demo/demo_characters.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelAnimation.h"
#include "model/classes/KXModelFont.h"
#include "model/classes/KXModelObjectCharacterSelector.h"
#include "model/classes/KXModelObjectImage.h"
#include "model/classes/KXModelObjectLabel.h"
#include "model/classes/KXModelScreen.h"
#include "model/references/KXAttributeAnimation.h"
#include "model/references/KXAttributeSound.h"
#include "tools/kxdata/demo/demo_game.h"

#include <stdexcept>

using cocos2d::CCPoint;

namespace kxdata {
namespace demo {

// The selection's backdrop colours; the end-to-end test looks for them.
const Colour kCharactersTop{150, 90, 30, 255};
const Colour kCharactersBottom{70, 36, 12, 255};

namespace {

template <class Attribute, class Value> void set(KXModel& model, const char* name, const Value& value) {
    auto* attribute = dynamic_cast<Attribute*>(model.attribute(name));
    if (attribute == nullptr) {
        throw std::runtime_error(std::string("the character selection misses the attribute ") + name);
    }
    attribute->setValue(value, true);
}

// An animation of one picture placed at `offset` from its owner.
std::shared_ptr<KXModelAnimation> pictureAnimation(DemoGame& game, const std::string& name, Canvas canvas,
                                                   CCPoint offset) {
    auto animation = game.make<KXModelAnimation>("KXModelAnimation", name);
    animation->speedAttribute()->setValue(1.0f, true);
    animation->durationAttribute()->setValue(1.0f, true);
    animation->loopAttribute()->setValue(true, true);
    auto image = game.make<KXModelObjectImage>("KXModelObjectImage", name + " Picture");
    image->setImage(game.picture(name, std::move(canvas)));
    image->autohideAttribute()->setValue(0.0f, true);
    image->positionAttribute()->setValue(offset, true);
    animation->addChild(image, true);
    return animation;
}

Canvas badgeCanvas() {
    Canvas canvas(150, 56);
    canvas.roundedRect(0, 0, 150, 56, 26.0f, Colour{250, 200, 60, 255});
    canvas.roundedRect(4, 4, 142, 48, 22.0f, Colour{235, 140, 40, 255});
    canvas.textCentred("BUY ME", 75, 28, 4, Colour{255, 255, 255, 255}, true);
    return canvas;
}

} // namespace

void addDemoCharacters(DemoGame& game) {
    ScreenNode& characters = game.addScreen("KXNodeUI", "KXModelScreen", kDemoCharactersScreen, "Characters");
    KXModelScreen& screen = *characters.screen;
    screen.closeAnimationFramesAttribute()->setValue(6, true);
    addImage(game, screen, "Characters Backdrop",
             game.picture("Characters Backdrop",
                          backdropCanvas(kCharactersTop, kCharactersBottom, Colour{255, 210, 140, 255}, 4)),
             CCPoint(kWidth * 0.5f, kHeight * 0.5f), CCPoint(8.0f, 8.0f), 0);
    addText(game, screen, "Characters Title", "CHOOSE YOUR HERO", CCPoint(kWidth * 0.5f, 575.0f), 1.6f, 2);
    auto coins = addText(game, screen, "Characters Coins", "0", CCPoint(kWidth - 110.0f, 600.0f), 1.0f, 2);
    coins->actionAttribute()->setValue("kScoreVector", true);
    coins->worldAttribute()->setValue("kGlobal", true);
    coins->amountAttribute()->setValue("kScoreTotal", true);
    coins->alignmentAttribute()->setValue("kCCTextAlignmentRight", true);
    addText(game, screen, "Characters Coins Caption", "COINS", CCPoint(kWidth - 60.0f, 600.0f), 0.6f, 2);
    addText(game, screen, "Characters Hint", "TAP LEFT OR RIGHT", CCPoint(kWidth * 0.5f, 505.0f), 0.6f, 2);

    auto selector = game.make<KXModelObjectCharacterSelector>("KXModelObjectCharacterSelector", "Carousel");
    selector->positionAttribute()->setValue(kDemoCarousel, true);
    // Taps and drags count across the whole row, not only on the middle icon.
    selector->scaleAttribute()->setValue(CCPoint(8.0f, 2.4f), true);
    selector->zDepthAttribute()->setValue(5, true);
    set<KXAttributeFloat>(*selector, "Spread", kDemoCarouselSpread);
    set<KXAttributeFloat>(*selector, "Label Vertical Spacing", 90.0f);
    set<KXAttributeBool>(*selector, "Label Visibility", true);
    set<KXAttributeStringList>(*selector, "Label Name", std::to_string(game.font->id()));
    set<KXAttributeAnimation>(*selector, "Unlock Button",
                              pictureAnimation(game, "Unlock",
                                               buttonCanvas("UNLOCK", Colour{215, 165, 40, 255}, false),
                                               kDemoUnlockOffset));
    set<KXAttributeAnimation>(
        *selector, "Unlock Suggestion",
        pictureAnimation(game, "Unlock Suggestion", badgeCanvas(), CCPoint(330.0f, -200.0f)));
    set<KXAttributeSound>(*selector, "Unlock Yes",
                          game.sound("Unlock Yes", {"synth 0.1 sine 880 fade 0 0.1 0.05 vol 0.4",
                                                    "synth 0.25 sine 1320 fade 0 0.25 0.15 vol 0.4"}));
    set<KXAttributeSound>(*selector, "Unlock No",
                          game.sound("Unlock No", {"synth 0.3 square 140 fade 0 0.3 0.1 vol 0.3"}));
    screen.addChild(selector, true);

    addButton(game, screen, "KXModelObjectButton", "Characters Back", "BACK", "kBackButton",
              Colour{60, 140, 200, 255}, CCPoint(170.0f, 60.0f), 5);
}

} // namespace demo
} // namespace kxdata
