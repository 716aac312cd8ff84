// The demo game's hero: a playable character on the level's meadow that idles, runs (arrows),
// jumps (J; twice, higher while held) and shoots pellets (K), each with a look of a few frames and
// a sound. Touching a crab or a cannonball defeats it: the field flashes and shakes and the hero is
// gone. A second character, Mint, waits locked in the character selection.
#pragma once

class KXModelScreen;

namespace kxdata {
namespace demo {

struct DemoGame;

// The names tests look for.
constexpr const char* kDemoHeroName = "Hero";
// The second character, locked until this many coins buy it in the character selection.
constexpr const char* kDemoMintName = "Mint";
constexpr float kDemoMintPrice = 25.0f;

// Places the hero in the level section the units made; call after addDemoUnits.
void addDemoCharacter(DemoGame& game, KXModelScreen& scene);
// Mint, after the hero (whose sounds and pellet it shares), so that the hero stays the first
// character of the game.
void addDemoSecondCharacter(DemoGame& game);

} // namespace demo
} // namespace kxdata
