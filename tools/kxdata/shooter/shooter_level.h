// The shooter's level: the ship, its enemies and the collectables, laid in sections that follow one
// another in a fixed order (each section's distance window admits it alone).
#pragma once

#include <memory>

class KXModelAssetPowerup;
class KXModelScreen;

namespace kxdata {
namespace demo {
struct DemoGame;
}
namespace shooter {

// The level's sections, each one design width long; the n-th is laid at n widths along the way.
constexpr int kSectionCount = 6;

// The level's sections into the scene; answers the bomb powerup, which the heads-up screen also
// offers from a button.
std::shared_ptr<KXModelAssetPowerup> addShooterLevel(demo::DemoGame& game, KXModelScreen& scene);

} // namespace shooter
} // namespace kxdata
