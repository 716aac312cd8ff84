// Building blocks of the games seen from above (the top-down garden and the portal works): looks
// of one picture or of several, obstacles, placed units and collectables, level sections, and the
// writer that turns a built game into a folder. Both games share the loading screen and settings
// of the demo.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/kxdata/demo/demo_attributes.h"
#include "tools/kxdata/demo/demo_game.h"

class KXModelAnimation;
class KXModelAssetObstacle;
class KXModelAssetPowerup;
class KXModelLevelSection;
class KXModelObjectAssetPowerup;
class KXModelObjectAssetUnit;
class KXModelPolygon;

namespace kxdata {
namespace topdown {

using demo::Canvas;
using demo::Colour;
using demo::DemoGame;

using demo::setPoint;
using demo::setValue;

// A looping animation of one picture.
std::shared_ptr<KXModelAnimation> look(DemoGame& game, const std::string& name, Canvas canvas,
                                       float duration = 1.0f, bool loop = true);
// A looping animation that runs through the pictures, `framesPerSecond` of them a second.
std::shared_ptr<KXModelAnimation> frames(DemoGame& game, const std::string& name,
                                         std::vector<Canvas> pictures, float framesPerSecond);
std::shared_ptr<KXModelPolygon> box(DemoGame& game, const std::string& name, float width, float height);
std::shared_ptr<KXModelPolygon> round(DemoGame& game, const std::string& name, float radius);
// An obstacle showing the picture, colliding as a box of its size (or the shape given).
std::shared_ptr<KXModelAssetObstacle> obstacle(DemoGame& game, const std::string& name, const Canvas& canvas,
                                               std::shared_ptr<KXModelPolygon> shape = nullptr);
// A unit of that kind ("kPlatformObjectType", "kDecorationObjectType", "kPhysicsObjectType"...).
std::shared_ptr<KXModelObjectAssetUnit>
placeUnit(DemoGame& game, KXModelLevelSection& section, const std::string& name,
          const std::shared_ptr<KXModelAssetObstacle>& asset, const std::string& kind,
          cocos2d::CCPoint position, int depth, cocos2d::CCPoint scale = cocos2d::CCPoint(1.0f, 1.0f));
// A collectable worth `coins` coins, always there.
std::shared_ptr<KXModelAssetPowerup> coinAsset(DemoGame& game, const std::string& name, const Canvas& canvas,
                                               float coins);
std::shared_ptr<KXModelObjectAssetPowerup> placePowerup(DemoGame& game, KXModelLevelSection& section,
                                                        const std::shared_ptr<KXModelAssetPowerup>& asset,
                                                        const std::string& name, cocos2d::CCPoint position);
// A sign of the level: a fixed text in the game's font, laid with the section.
void levelText(DemoGame& game, KXModelLevelSection& section, const std::string& name, const std::string& text,
               cocos2d::CCPoint position, float scale);
// The one section of a one-screen game: laid at the start and kept for good.
std::shared_ptr<KXModelLevelSection> roomSection(DemoGame& game, KXModelScreen& scene,
                                                 const std::string& name);
// A scene without gravity that does not scroll by itself.
demo::ScreenNode& addTopDownScene(DemoGame& game, const std::string& key, const std::string& name);

// Settings and loading screen of the demo, under the game's own name; a font for the texts.
void startGame(DemoGame& game, const std::string& applicationName);
// The last id into the settings, once every model exists.
void finishGame(DemoGame& game);
// The game into DIR: data/ (pack files and media) and Default.png; the number of files that could
// not be made.
size_t writeGame(const std::string& dir, const DemoGame& game);

} // namespace topdown
} // namespace kxdata
