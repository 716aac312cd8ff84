// The loading screen ("KXPScreenStart"): the player shows "Default.png" under it; the screen adds
// the progress bar and the counter, and its music plays once loading ends and on through the
// menus.
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelObjectButton.h"
#include "model/classes/KXModelObjectLabel.h"
#include "model/classes/KXModelObjectLoadingBar.h"
#include "model/classes/KXModelScreen.h"
#include "model/classes/KXModelSound.h"
#include "model/references/KXAttributeSound.h"
#include "tools/kxdata/demo/demo_game.h"

using cocos2d::CCPoint;

namespace kxdata {
namespace demo {

void addDemoLoading(DemoGame& game) {
    ScreenNode& loading = game.addScreen("KXNodeUIStart", "KXModelScreen", "KXPScreenStart", "Start");
    KXModelScreen& screen = *loading.screen;
    auto bar = game.make<KXModelObjectLoadingBar>("KXModelObjectLoadingBar", "Progress");
    bar->positionAttribute()->setValue(CCPoint(kWidth * 0.5f, 150.0f), true);
    bar->zDepthAttribute()->setValue(2, true);
    screen.addChild(bar, true);
    auto counter = addText(game, screen, "Counter", "0", CCPoint(kWidth * 0.5f - 12.0f, 110.0f), 1.0f, 3);
    counter->actionAttribute()->setValue("kLoadingCounter", true);
    counter->alignmentAttribute()->setValue("kCCTextAlignmentRight", true);
    auto percent = addText(game, screen, "Percent", "%", CCPoint(kWidth * 0.5f, 110.0f), 1.0f, 3);
    percent->alignmentAttribute()->setValue("kCCTextAlignmentLeft", true);
    for (const SoundFile& sound : game.sounds) {
        if (sound.model->name() == "Menu Music") {
            screen.musicAttribute()->setValue(sound.model, true);
            screen.loopMusicAttribute()->setValue(true, true);
        }
    }
}

// The picture under the loading screen, as big as the design area.
Canvas splashCanvas() {
    Canvas canvas(static_cast<int>(kWidth), static_cast<int>(kHeight));
    canvas.verticalGradient(Colour{28, 24, 70, 255}, Colour{70, 30, 100, 255});
    // Soft lights along the bottom, below the title and the progress bar.
    for (int index = 0; index < 8; ++index) {
        const float x = 80.0f + 140.0f * static_cast<float>(index);
        canvas.disc(x, 600.0f - 30.0f * static_cast<float>(index % 3),
                    50.0f + 12.0f * static_cast<float>(index % 4), Colour{255, 180, 90, 26});
    }
    canvas.textCentred("KX DEMO", static_cast<int>(kWidth) / 2, 250, 16, Colour{255, 210, 120, 255}, true);
    canvas.textCentred("A GAME MADE OF DATA", static_cast<int>(kWidth) / 2, 360, 5,
                       Colour{220, 210, 255, 255}, true);
    return canvas;
}

} // namespace demo
} // namespace kxdata
