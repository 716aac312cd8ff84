#include "tools/kxdata/effects/effects_demo.h"
#include "tools/kxdata/demo/demo_attributes.h"

#include <memory>

#include "model/attributes/KXAttributeColor.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelObjectFlag.h"
#include "model/classes/KXModelObjectMirror.h"
#include "model/classes/KXModelScreen.h"

using cocos2d::CCPoint;

namespace kxdata {
namespace effects {

namespace {

constexpr const char* kDemoScene = "world1";

using demo::setFloat;

// The scene's opening section: the first one marked so, else a new one over the whole level.
std::shared_ptr<KXModelLevelSection> openingSection(demo::DemoGame& game, KXModelScreen& scene) {
    for (const std::shared_ptr<KXModel>& child : scene.children()) {
        auto section = std::dynamic_pointer_cast<KXModelLevelSection>(child);
        if (section && section->isInitSection()) {
            return section;
        }
    }
    auto section = game.make<KXModelLevelSection>("KXModelLevelSection", "Meadow");
    section->initSectionAttribute()->setValue(true, true);
    section->startDistanceAttribute()->setValue(0.0f, true);
    section->endDistanceAttribute()->setValue(100000.0f, true);
    section->widthAttribute()->setValue(demo::kWidth, true);
    scene.addChild(section, true);
    return section;
}

} // namespace

void addDemoEffects(demo::DemoGame& game) {
    KXModelScreen& scene = *game.screen(kDemoScene).screen;
    std::shared_ptr<KXModelLevelSection> section = openingSection(game, scene);

    // A pennant in the game's flag map, high over the far end of the meadow.
    auto pennant = game.make<KXModelObjectFlag>("KXModelObjectFlag", "Pennant");
    pennant->positionAttribute()->setValue(CCPoint(1010.0f, 330.0f), true);
    pennant->zDepthAttribute()->setValue(5, true);
    setFloat(*pennant, "Length", 110.0f);
    setFloat(*pennant, "Start Width", 18.0f);
    setFloat(*pennant, "End Width", 6.0f);
    setFloat(*pennant, "Speed", 600.0f);
    setFloat(*pennant, "Wave Height", 9.0f);
    setFloat(*pennant, "Wave Length", 55.0f);
    section->addChild(pennant, true);

    // A pond sunk into the ground (0 to 80): it shows the band above the ground upside down.
    auto pond = game.make<KXModelObjectMirror>("KXModelObjectMirror", "Pond");
    pond->positionAttribute()->setValue(CCPoint(700.0f, 45.0f), true);
    pond->scaleAttribute()->setValue(CCPoint(2.6f, 0.7f), true);
    pond->zDepthAttribute()->setValue(5, true);
    static_cast<KXAttributeColor*>(pond->attribute("Color"))
        ->setValue(cocos2d::ccColor4F{170.0f, 215.0f, 255.0f, 235.0f}, true);
    section->addChild(pond, true);
}

} // namespace effects
} // namespace kxdata
