// The pause screen, opened over the running game by the heads-up PAUSE button (or P): the game
// holds still under it until RESUME (Space) goes back to the heads-up screen; RESTART (R) plays
// the level again from its start.
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelObjectButton.h"
#include "model/classes/KXModelScreen.h"
#include "model/classes/KXNode.h"
#include "tools/kxdata/demo/demo_game.h"

using cocos2d::CCPoint;

namespace kxdata {
namespace demo {

namespace {

constexpr int kDemoPKey = 'P';
constexpr int kDemoRKey = 'R';

Canvas pausePanelCanvas() {
    Canvas canvas(200, 150);
    canvas.roundedRect(0, 0, 200, 150, 22.0f, Colour{30, 60, 110, 225});
    canvas.roundedRect(6, 6, 188, 138, 18.0f, Colour{15, 30, 60, 225});
    return canvas;
}

} // namespace

void addDemoPause(DemoGame& game) {
    // The field opens the screen its pause button names.
    ScreenNode& hud = game.screen("hud");
    const Colour red{210, 75, 60, 255};
    auto pauseButton = addButton(game, *hud.screen, "KXModelObjectButton", "Pause", "PAUSE", "kPauseButton",
                                 red, CCPoint(kWidth - 170.0f, 425.0f), 5);
    pauseButton->keyboardKeyAttribute()->setValue(kDemoPKey, true);

    ScreenNode& pause = game.addScreen("KXNodeUI", "KXModelScreen", "pause", "Pause");
    KXModelScreen& screen = *pause.screen;
    addImage(game, screen, "Pause Panel", game.picture("Pause Panel", pausePanelCanvas()),
             CCPoint(kWidth * 0.5f, kHeight * 0.5f), CCPoint(3.0f, 3.0f), 0);
    addText(game, screen, "Pause Title", "PAUSED", CCPoint(kWidth * 0.5f, 480.0f), 2.0f, 2);
    const Colour blue{60, 140, 200, 255};
    auto resume = addButton(game, screen, "KXModelObjectButton", "Resume", "RESUME", "kBackButton", blue,
                            CCPoint(kWidth * 0.5f, 340.0f), 5);
    auto restart = addButton(game, screen, "KXModelObjectButton", "Restart", "RESTART", "kRestartButton",
                             blue, CCPoint(kWidth * 0.5f, 250.0f), 5);
    // Shown over the running game, where the arrows steer: keys of their own.
    resume->keyboardKeyAttribute()->setValue(kDemoSpaceKey, true);
    restart->keyboardKeyAttribute()->setValue(kDemoRKey, true);

    linkPort(hud, "Pause", pause);
    pause.node->positionAttribute()->setValue(CCPoint(8.0f * 220.0f, 0.0f), true);
}

} // namespace demo
} // namespace kxdata
