#include "tools/kxdata/demo/demo_backgrounds.h"

#include <cmath>
#include <string>

#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/classes/KXModelObjectBackground.h"
#include "model/classes/KXModelScreen.h"
#include "model/references/KXAttributeSprite.h"
#include "tools/kxdata/demo/demo_game.h"

using cocos2d::CCPoint;

namespace kxdata {
namespace demo {

namespace {

// Blue-grey ridges, light enough to read as far away; both ends meet so tiles join.
Canvas farHillsCanvas() {
    Canvas canvas(256, 64);
    for (int x = 0; x < canvas.width(); ++x) {
        const float t = static_cast<float>(x) / static_cast<float>(canvas.width());
        const float ridge =
            30.0f + 14.0f * std::sin(t * 6.283f * 3.0f) + 6.0f * std::sin(t * 6.283f * 7.0f + 0.5f);
        const int top = canvas.height() - static_cast<int>(ridge);
        canvas.fillRect(x, top, 1, canvas.height() - top, Colour{120, 150, 200, 255});
    }
    return canvas;
}

Canvas cloudCanvas() {
    Canvas canvas(120, 60);
    canvas.disc(35.0f, 38.0f, 20.0f, Colour{255, 255, 255, 230});
    canvas.disc(62.0f, 28.0f, 26.0f, Colour{255, 255, 255, 230});
    canvas.disc(88.0f, 40.0f, 18.0f, Colour{255, 255, 255, 230});
    return canvas;
}

// A strip whose left end is at the design area's left edge, centred on `y`.
void addStrip(DemoGame& game, KXModelScreen& scene, const std::string& name,
              const std::shared_ptr<KXModelSpriteContainer>& picture, float y, CCPoint scale, float speed,
              float tilingOffset, int depth) {
    auto strip = game.make<KXModelObjectBackground>("KXModelObjectBackground", name);
    static_cast<KXAttributeSprite*>(strip->attribute("Image"))->setValue(picture, true);
    static_cast<KXAttributeFloat*>(strip->attribute("Speed"))->setValue(speed, true);
    static_cast<KXAttributeFloat*>(strip->attribute("Tiling Offset"))->setValue(tilingOffset, true);
    strip->positionAttribute()->setValue(CCPoint(0.0f, y), true);
    strip->scaleAttribute()->setValue(scale, true);
    strip->zDepthAttribute()->setValue(depth, true);
    scene.addChild(strip, true);
}

} // namespace

void addDemoBackgrounds(DemoGame& game, KXModelScreen& scene) {
    // The backdrop picture is 160 x 90: scaled to fill the design area.
    const auto sky = game.picture("Sky", backdropCanvas(Colour{90, 160, 240, 255}, Colour{200, 230, 255, 255},
                                                        Colour{255, 255, 255, 255}, 3));
    // Scaled-up pictures fade out over half a texel at their edges: neighbouring tiles overlap by
    // more than both fades (the tiling offset times the scale, less one point) so no seam shows.
    // The sky stands still, a little wider than the design area, so its seams lie outside it.
    addStrip(game, scene, "Sky", sky, kHeight * 0.5f, CCPoint(7.3f, kHeight / 90.0f), 0.0f, -1.0f, 0);
    // Low enough that the ground covers the strip's lower edge.
    addStrip(game, scene, "Far Hills", game.picture("Far Hills", farHillsCanvas()), 190.0f,
             CCPoint(2.5f, 3.5f), 18.0f, -1.2f, 1);
    addStrip(game, scene, "Clouds", game.picture("Cloud", cloudCanvas()), 500.0f, CCPoint(1.1f, 1.1f), 35.0f,
             240.0f, 2);
}

} // namespace demo
} // namespace kxdata
