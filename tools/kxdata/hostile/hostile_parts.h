// Pieces the hostile game's own scenes are built from: pictures, still animations, obstacles and
// units placed in level sections, floors and a runner. Their values are sound: these scenes hold
// exact edges, not the demo's blanket damage.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>

#include "model/KXModel.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "tools/kxdata/demo/demo_canvas.h"
#include "tools/kxdata/demo/demo_game.h"

class KXModelAnimation;
class KXModelAssetObstacle;
class KXModelLevelSection;
class KXModelObjectAssetCharacter;
class KXModelObjectAssetUnit;
class KXModelPolygon;
class KXModelScreen;
class KXModelSpriteContainer;

namespace kxdata {
namespace hostile {

constexpr float kFloorTop = 60.0f;

template <class Attribute, class Value> void set(KXModel& model, const char* name, const Value& value) {
    auto* attribute = dynamic_cast<Attribute*>(model.attribute(name));
    if (attribute == nullptr) {
        throw std::runtime_error(std::string("the hostile game misses the attribute ") + name);
    }
    attribute->setValue(value, true);
}

template <class T> void place(T& object, cocos2d::CCPoint position, int depth) {
    object.positionAttribute()->setValue(position, true);
    object.zDepthAttribute()->setValue(depth, true);
}

demo::Canvas block(int width, int height, demo::Colour fill, demo::Colour edge);

std::shared_ptr<KXModelAnimation> still(demo::DemoGame& game, const std::string& name,
                                        const std::shared_ptr<KXModelSpriteContainer>& picture);
std::shared_ptr<KXModelPolygon> box(demo::DemoGame& game, const std::string& name, cocos2d::CCSize size);
// An obstacle asset showing the canvas, with a box of its size to collide with.
std::shared_ptr<KXModelAssetObstacle> obstacle(demo::DemoGame& game, const std::string& name,
                                               demo::Canvas canvas);
std::shared_ptr<KXModelObjectAssetUnit> unit(demo::DemoGame& game, KXModelLevelSection& section,
                                             const std::string& name,
                                             const std::shared_ptr<KXModelAssetObstacle>& asset,
                                             const std::string& kind, cocos2d::CCPoint position, int depth);
// A section of the scene, one view wide; `opening` makes it the one a game starts in.
std::shared_ptr<KXModelLevelSection> section(demo::DemoGame& game, KXModelScreen& scene,
                                             const std::string& name, bool opening);
// Four slabs side by side along the bottom of the section.
void addFloor(demo::DemoGame& game, KXModelLevelSection& into,
              const std::shared_ptr<KXModelAssetObstacle>& slab);
// A runner of the game's own (the demo's hero is damaged with the rest of the demo), on the floor.
std::shared_ptr<KXModelObjectAssetCharacter> addRunner(demo::DemoGame& game, KXModelLevelSection& into,
                                                       const std::string& name);

} // namespace hostile
} // namespace kxdata
