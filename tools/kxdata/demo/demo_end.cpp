// The end screen, shown over the game field when a run ends: how far this run went against the best
// and the total so far, then play again, go on from the last checkpoint or back to the menu.
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelObjectButton.h"
#include "model/classes/KXModelObjectLabel.h"
#include "model/classes/KXModelScreen.h"
#include "tools/kxdata/demo/demo_game.h"

using cocos2d::CCPoint;

namespace kxdata {
namespace demo {

namespace {

Canvas panelCanvas() {
    Canvas canvas(200, 150);
    canvas.roundedRect(0, 0, 200, 150, 22.0f, Colour{120, 24, 40, 235});
    canvas.roundedRect(6, 6, 188, 138, 18.0f, Colour{60, 10, 24, 235});
    return canvas;
}

// A caption over a distance score label of the world being played.
void addDistance(DemoGame& game, KXModelScreen& screen, const std::string& caption, const char* amount,
                 float x) {
    addText(game, screen, "End " + caption, caption, CCPoint(x, 436.0f), 1.0f, 2);
    auto value = addText(game, screen, "End " + caption + " Distance", "0", CCPoint(x, 400.0f), 1.0f, 2);
    value->actionAttribute()->setValue("kScoreVector", true);
    value->worldAttribute()->setValue("kCurrentWorld", true);
    value->scoreTypeAttribute()->setValue("kScoreDistance", true);
    if (amount) {
        value->amountAttribute()->setValue(amount, true);
    }
}

} // namespace

void addDemoEnd(DemoGame& game) {
    ScreenNode& end = game.addScreen("KXNodeUI", "KXModelScreen", "end", "End");
    KXModelScreen& screen = *end.screen;
    screen.closeAnimationFramesAttribute()->setValue(6, true);
    addImage(game, screen, "End Panel", game.picture("End Panel", panelCanvas()),
             CCPoint(kWidth * 0.5f, kHeight * 0.5f), CCPoint(3.0f, 3.0f), 0);
    addText(game, screen, "End Title", "RUN OVER", CCPoint(kWidth * 0.5f, 492.0f), 2.0f, 2);
    addDistance(game, screen, "RUN", nullptr, kWidth * 0.5f - 170.0f);
    addDistance(game, screen, "BEST", "kScoreBest", kWidth * 0.5f);
    addDistance(game, screen, "TOTAL", "kScoreTotal", kWidth * 0.5f + 170.0f);
    const Colour blue{60, 140, 200, 255};
    auto retry = addButton(game, screen, "KXModelObjectButton", "Retry", "PLAY AGAIN", "", blue,
                           CCPoint(kWidth * 0.5f - 145.0f, 340.0f), 5);
    // Back into the run where its last checkpoint was taken, with the coins it had there.
    auto checkpoint = addButton(game, screen, "KXModelObjectButton", "Checkpoint", "CHECKPOINT",
                                "kRestartCheckpointButton", blue, CCPoint(kWidth * 0.5f + 145.0f, 340.0f), 5);
    auto menu = addButton(game, screen, "KXModelObjectButton", "End Menu", "MENU", "kBackToButton", blue,
                          CCPoint(kWidth * 0.5f, 250.0f), 5);
    menu->backToAttribute()->setValue("KXPScreenMainMenu", true);
    // Shown over the running game, where the arrows steer: keys of their own.
    retry->keyboardKeyAttribute()->setValue(kDemoSpaceKey, true);
    menu->keyboardKeyAttribute()->setValue(kDemoEscapeKey, true);
    checkpoint->keyboardKeyAttribute()->setValue(static_cast<int>('C'), true);
}

} // namespace demo
} // namespace kxdata
