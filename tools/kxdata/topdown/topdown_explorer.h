// The explorer: a playable character seen from above that walks where the arrows, the on-screen
// joystick or the tilt send it, with no gravity pulling it anywhere. It hops (a jump drawn over its
// shadow, twice in the air) on a swipe up, dashes on a swipe right and ducks while the DUCK button
// is held.
#pragma once

#include <memory>

#include "cocos2d.h"
#include "tools/kxdata/topdown/topdown_build.h"

class KXModelAssetCharacter;
class KXModelLevelSection;
class KXModelObjectAssetCharacter;

namespace kxdata {
namespace topdown {

// The names tests and recipes look for.
constexpr const char* kExplorerName = "Explorer";
constexpr const char* kSwipePadName = "Swipe Pad";
constexpr const char* kDuckButtonName = "Duck";

// The explorer's asset with its moves; `hopAndDash` adds the swipe moves and the duck.
std::shared_ptr<KXModelAssetCharacter> explorerAsset(DemoGame& game, bool hopAndDash);
std::shared_ptr<KXModelObjectAssetCharacter>
placeExplorer(DemoGame& game, KXModelLevelSection& section,
              const std::shared_ptr<KXModelAssetCharacter>& asset, cocos2d::CCPoint position);

} // namespace topdown
} // namespace kxdata
