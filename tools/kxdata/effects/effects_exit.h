// The cave's way out, at the right of its hall: a sign over the hall, a gong to strike (a button
// of the level), a torch by the exit whose
// look holds its flame (sparks) and an "EXIT" plate, dust drifting up in the crystal's light, and
// a second crate that repeats the first one (an instance).
#pragma once

#include <memory>

#include "tools/kxdata/demo/demo_game.h"

class KXModelLevelSection;
class KXModelObjectAssetUnit;

namespace kxdata {
namespace effects {

void addCaveExit(demo::DemoGame& game, KXModelLevelSection& hall,
                 const std::shared_ptr<KXModelObjectAssetUnit>& crate);

} // namespace effects
} // namespace kxdata
