// The hostile game's runaway field ("runaway"): the damaged game speed of the demo's scene, which
// throws the camera to about 1e30 in one step, and the demo's hero where the damage placed it, with
// a runner of the field's own on a floor. They are taken out of the demo's scene so that the
// damaged demo plays; here they keep their edge in a scene of their own.
#pragma once

#include <memory>

#include "base/CCGeometry.h"
#include "tools/kxdata/demo/demo_game.h"

class KXModelAsset;
class KXModelAssetObstacle;

namespace kxdata {
namespace hostile {

constexpr const char* kRunawayKey = "runaway";

// The values of the demo's scene "world1" and its hero that the runaway field takes over.
struct RunawayValues {
    float speedMin = 0.0f;
    float speedMax = 0.0f;
    float speedIncrease = 0.0f;
    cocos2d::CCPoint heroPosition;
    std::shared_ptr<KXModelAsset> hero;
};

RunawayValues readRunawayValues(demo::DemoGame& demo);
// Gives the demo's scene and hero these values (the ones read before the damage).
void writeRunawayValues(demo::DemoGame& demo, const RunawayValues& values);
// The field, into the game that holds the hall of edges; `damaged` as read after the damage.
void addRunawayField(demo::DemoGame& game, const std::shared_ptr<KXModelAssetObstacle>& slab,
                     const RunawayValues& damaged);

} // namespace hostile
} // namespace kxdata
