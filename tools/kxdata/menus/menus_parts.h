// What the screens of the menus-and-shop scenario share: attribute setters by name (a name the
// class lacks is a writer's mistake and stops the write) and the screens' builders.
#pragma once

#include <memory>
#include <string>

#include "cocos2d.h"
#include "tools/kxdata/demo/demo_attributes.h"
#include "tools/kxdata/demo/demo_game.h"

class KXModel;
class KXModelAnimation;
class KXModelAssetPowerup;
class KXModelObjectButton;
class KXModelSpriteContainer;
class KXModelScreen;
class KXModelSound;

namespace kxdata {
namespace menus {

using demo::Colour;
using demo::DemoGame;

// Button columns and rows of the menu screens, in design units.
constexpr float kLeft = 200.0f;
constexpr float kMiddle = demo::kWidth * 0.5f;
constexpr float kRight = demo::kWidth - 200.0f;
constexpr float kRow1 = 430.0f;
constexpr float kRow2 = 350.0f;
constexpr float kRow3 = 270.0f;
constexpr float kRow4 = 190.0f;
constexpr float kRow5 = 110.0f;

const Colour kGold{215, 165, 40, 255};
const Colour kBlue{60, 140, 200, 255};
const Colour kOrange{235, 140, 40, 255};
const Colour kRed{200, 70, 60, 255};
const Colour kGreen{70, 170, 80, 255};
const Colour kViolet{140, 90, 200, 255};

using demo::setAnimation;
using demo::setBool;
using demo::setFloat;
using demo::setSound;
using demo::setSprite;
using demo::setText;

// A full-screen backdrop image and a title on a screen.
void addBackdrop(DemoGame& game, KXModelScreen& screen, const std::string& name, Colour top, Colour bottom,
                 Colour accent, unsigned seed);
// A text showing a figure of the global record ("kScoreTotal", "kScoreBest"...).
void addScoreText(DemoGame& game, KXModelScreen& screen, const std::string& name,
                  const std::string& scoreType, const std::string& amount, cocos2d::CCPoint position);
// A plain button leading along the screen graph (its name is the node's port) or doing `action`.
std::shared_ptr<KXModelObjectButton> addPlain(DemoGame& game, KXModelScreen& screen, const std::string& name,
                                              const std::string& caption, const std::string& action,
                                              Colour colour, cocos2d::CCPoint position);
// A one-frame animation of a picture placed at `position`.
std::shared_ptr<KXModelAnimation> pictureAnimation(DemoGame& game, const std::string& name,
                                                   const std::shared_ptr<KXModelSpriteContainer>& picture,
                                                   cocos2d::CCPoint position = cocos2d::CCPoint(0.0f, 0.0f));
// A powerup asset of `type` showing a coloured disc.
std::shared_ptr<KXModelAssetPowerup> addPowerup(DemoGame& game, const std::string& name,
                                                const std::string& type, Colour colour, float coins,
                                                float points);

// The model of that class and name the game holds; a missing one stops the write.
std::shared_ptr<KXModel> findModel(DemoGame& game, const std::string& className, const std::string& name);

void addMenu(DemoGame& game);
void addShop(DemoGame& game);
void addHeroes(DemoGame& game);
void addLevels(DemoGame& game);
void addExtras(DemoGame& game);
// The arena scene, its heads-up screen and its pause screen.
void addArena(DemoGame& game);
void addGraph(DemoGame& game);

} // namespace menus
} // namespace kxdata
