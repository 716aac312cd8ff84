#include "tools/kxdata/demo/demo_joystick.h"

#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelObjectManipulator.h"
#include "model/classes/KXModelScreen.h"
#include "tools/kxdata/demo/demo_game.h"

using cocos2d::CCPoint;

namespace kxdata {
namespace demo {

namespace {

constexpr int kPadPixels = 100;

// A translucent ring with a knob in the middle; drawn at half size and scaled up on screen.
Canvas padCanvas() {
    Canvas canvas(kPadPixels, kPadPixels);
    const float centre = kPadPixels * 0.5f;
    canvas.disc(centre, centre, 48.0f, Colour{255, 255, 255, 110});
    canvas.disc(centre, centre, 42.0f, Colour{40, 60, 90, 90});
    canvas.disc(centre, centre, 18.0f, Colour{255, 255, 255, 170});
    return canvas;
}

} // namespace

void addDemoJoystick(DemoGame& game, KXModelScreen& hud) {
    const float scale = kDemoJoystickSide / kPadPixels;
    addImage(game, hud, "Joystick Pad", game.picture("Joystick Pad", padCanvas()), kDemoJoystickCentre,
             CCPoint(scale, scale), 1);

    auto joystick = game.make<KXModelObjectManipulator>("KXModelObjectManipulator", "Joystick");
    // The touch area is the model's scale times 100 points.
    joystick->scaleAttribute()->setValue(CCPoint(kDemoJoystickSide / 100.0f, kDemoJoystickSide / 100.0f),
                                         true);
    joystick->positionAttribute()->setValue(kDemoJoystickCentre, true);
    joystick->zDepthAttribute()->setValue(1, true);
    // No "Control Style": the drag's offset from where it began steers, and a drag of the pad's
    // radius (100 points) is a full push of the stick.
    joystick->sensitivityAttribute()->setValue(1.0f, true);
    hud.addChild(joystick, true);
}

} // namespace demo
} // namespace kxdata
