// The menus-and-shop scenario: a game made of screens that place every kind of button and interface
// object the player has. A main menu with score texts, sound and window switches, reset and exit;
// a shop selling powerups and the removal of ads for coins, through the store, by rewarded video
// and for nothing; a heroes screen with a character selector and its unlocks; a level select of
// lock buttons and a switch; extras with links, social page, review, sharing, game services and
// a reward screen of unlockers; and a small arena whose heads-up screen holds powerup buttons,
// control buttons, an action button, a joystick, pause, restart and back.
#pragma once

#include <cstddef>
#include <string>

#include "tools/kxdata/demo/demo_game.h"

namespace kxdata {
namespace menus {

// Screen keys, which recipes and tests open.
constexpr const char* kMenuKey = "KXPScreenMainMenu";
constexpr const char* kShopKey = "shop";
constexpr const char* kHeroesKey = "heroes";
constexpr const char* kLevelsKey = "levels";
constexpr const char* kExtrasKey = "extras";
constexpr const char* kRewardKey = "reward";
constexpr const char* kArenaKey = "arena";
constexpr const char* kArenaHudKey = "arena hud";
constexpr const char* kPauseKey = "arena pause";

// Empties the model store and builds the scenario.
demo::DemoGame buildMenusGame();
// The scenario into DIR: data/ (pack files and media) and Default.png. Answers the number of files
// that could not be made.
size_t writeMenusScenario(const std::string& dir);

} // namespace menus
} // namespace kxdata
