// Where the character selection puts its carousel: tests tap and click there.
#pragma once

#include "cocos2d.h"

namespace kxdata {
namespace demo {

struct DemoGame;

constexpr const char* kDemoCharactersScreen = "characters";
// The carousel's middle, the distance between its icons and the unlock button below the middle.
const cocos2d::CCPoint kDemoCarousel(568.0f, 320.0f);
constexpr float kDemoCarouselSpread = 260.0f;
const cocos2d::CCPoint kDemoUnlockOffset(0.0f, -200.0f);

// The screen and its carousel; after the characters exist (addDemoScene).
void addDemoCharacters(DemoGame& game);

} // namespace demo
} // namespace kxdata
