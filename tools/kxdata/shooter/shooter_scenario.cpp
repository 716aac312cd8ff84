#include "tools/kxdata/shooter/shooter_scenario.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "model/KXModelController.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelAssetPowerup.h"
#include "model/classes/KXModelGeneralSettings.h"
#include "model/classes/KXModelObjectBackground.h"
#include "model/classes/KXModelObjectButton.h"
#include "model/classes/KXModelObjectButtonPowerup.h"
#include "model/classes/KXModelObjectEventObserver.h"
#include "model/classes/KXModelObjectLabel.h"
#include "model/classes/KXModelScreen.h"
#include "model/classes/KXModelScreenScene.h"
#include "model/classes/KXModelSound.h"
#include "model/classes/KXNode.h"
#include "model/references/KXAttributeSound.h"
#include "model/references/KXAttributeSprite.h"
#include "tools/kxdata/shooter/shooter_level.h"
#include "tools/kxdata/shooter/shooter_pictures.h"

using cocos2d::CCPoint;

namespace kxdata {
namespace shooter {

using demo::DemoGame;
using demo::ScreenNode;

namespace {

constexpr float kWidth = demo::kWidth;
constexpr float kHeight = demo::kHeight;
constexpr const char* kGameOverObserver = "Game Over";
// Game-key codes of the keys bound to buttons: in a running game the arrows steer and Space fires.
constexpr int kKeyB = 'B';
constexpr int kKeyR = 'R';

void addStrip(DemoGame& game, KXModelScreen& scene, const std::string& name, Canvas canvas, float y,
              CCPoint scale, float speed, float tilingOffset, int depth) {
    auto strip = game.make<KXModelObjectBackground>("KXModelObjectBackground", name);
    static_cast<KXAttributeSprite*>(strip->attribute("Image"))
        ->setValue(game.picture(name, std::move(canvas)), true);
    static_cast<KXAttributeFloat*>(strip->attribute("Speed"))->setValue(speed, true);
    static_cast<KXAttributeFloat*>(strip->attribute("Tiling Offset"))->setValue(tilingOffset, true);
    strip->positionAttribute()->setValue(CCPoint(0.0f, y), true);
    strip->scaleAttribute()->setValue(scale, true);
    strip->zDepthAttribute()->setValue(depth, true);
    scene.addChild(strip, true);
}

// A caption over a score figure of a world (by default the one being played).
void addFigure(DemoGame& game, KXModelScreen& screen, const std::string& name, const std::string& caption,
               const char* scoreType, const char* amount, CCPoint at, float scale,
               const char* world = "kCurrentWorld") {
    demo::addText(game, screen, name + " Caption", caption, CCPoint(at.x, at.y + 30.0f * scale), 0.7f * scale,
                  2);
    auto value = demo::addText(game, screen, name, "0", at, scale, 2);
    value->actionAttribute()->setValue("kScoreVector", true);
    value->worldAttribute()->setValue(world, true);
    value->scoreTypeAttribute()->setValue(scoreType, true);
    if (amount != nullptr) {
        value->amountAttribute()->setValue(amount, true);
    }
}

std::shared_ptr<KXModelAssetPowerup> addScene(DemoGame& game) {
    ScreenNode& space = game.addScreen("KXNodeScene", "KXModelScreenScene", kShooterSceneKey, "Deep Space");
    KXModelScreen& scene = *space.screen;
    for (const demo::SoundFile& sound : game.sounds) {
        if (sound.model->name() == "Game Music") {
            scene.musicAttribute()->setValue(sound.model, true);
            scene.loopMusicAttribute()->setValue(true, true);
        }
    }
    // The sky stands still; the nebula drifts behind the play.
    addStrip(game, scene, "Starfield", starfieldCanvas(), kHeight * 0.5f, CCPoint(7.3f, kHeight / 90.0f),
             0.0f, -1.0f, 0);
    addStrip(game, scene, "Nebula", nebulaCanvas(), 360.0f, CCPoint(2.5f, 2.5f), 20.0f, -1.2f, 1);
    return addShooterLevel(game, scene);
}

void addHud(DemoGame& game, const std::shared_ptr<KXModelAssetPowerup>& bomb) {
    ScreenNode& hud = game.addScreen("KXNodeUI", "KXModelScreen", "hud", "Cockpit");
    KXModelScreen& screen = *hud.screen;
    // The cockpit closes before the level comes back for a life lost.
    screen.closeAnimationFramesAttribute()->setValue(6, true);
    addFigure(game, screen, "Score", "SCORE", "kScorePoints", nullptr, CCPoint(110.0f, 585.0f), 1.0f);
    addFigure(game, screen, "Coins", "COINS", "kScoreCoins", nullptr, CCPoint(260.0f, 585.0f), 1.0f);
    addFigure(game, screen, "Distance", "DISTANCE", "kScoreDistance", nullptr, CCPoint(430.0f, 585.0f), 1.0f);
    // A bomb in stock (B): one at the start of each run, one more a minute later.
    auto bombButton = std::static_pointer_cast<KXModelObjectButtonPowerup>(demo::addButton(
        game, screen, "KXModelObjectButtonPowerup", "Bomb Button", "BOMB", std::to_string(bomb->id()),
        Colour{200, 60, 30, 255}, CCPoint(kWidth - 170.0f, 595.0f), 5));
    bombButton->maxRefillAttribute()->setValue(1.0f, true);
    bombButton->refillTimeoutAttribute()->setValue(1.0f, true);
    bombButton->refillAtStartAttribute()->setValue(true, true);
    // The stock and the refill countdown stand under the button.
    bombButton->labelOffsetAttribute()->setValue(CCPoint(0.0f, 0.0f), true);
    bombButton->labelScaleAttribute()->setValue(0.6f, true);
    bombButton->keyboardKeyAttribute()->setValue(kKeyB, true);
    // Game over (the last life lost) leads to the end screen.
    auto observer = game.make<KXModelObjectEventObserver>("KXModelObjectEventObserver", kGameOverObserver);
    static_cast<KXAttributeStringList*>(observer->attribute("Event Type"))->setValue("kGameOver", true);
    screen.addChild(observer, true);
}

void addEnd(DemoGame& game) {
    // Shown over the base as well as over space: its figures name the space world's record.
    ScreenNode& end = game.addScreen("KXNodeUI", "KXModelScreen", "end", "Debrief");
    KXModelScreen& screen = *end.screen;
    screen.closeAnimationFramesAttribute()->setValue(6, true);
    demo::addImage(game, screen, "Debrief Panel", game.picture("Debrief Panel", panelCanvas()),
                   CCPoint(kWidth * 0.5f, kHeight * 0.5f), CCPoint(3.0f, 3.0f), 0);
    demo::addText(game, screen, "Debrief Title", "MISSION OVER", CCPoint(kWidth * 0.5f, 492.0f), 2.0f, 2);
    addFigure(game, screen, "Debrief Score", "SCORE", "kScorePoints", nullptr,
              CCPoint(kWidth * 0.5f - 170.0f, 400.0f), 1.0f, kShooterSceneKey);
    addFigure(game, screen, "Debrief Best", "BEST", "kScorePoints", "kScoreBest",
              CCPoint(kWidth * 0.5f, 400.0f), 1.0f, kShooterSceneKey);
    addFigure(game, screen, "Debrief Coins", "COINS", "kScoreCoins", nullptr,
              CCPoint(kWidth * 0.5f + 170.0f, 400.0f), 1.0f, kShooterSceneKey);
    auto retry = demo::addButton(game, screen, "KXModelObjectButton", "Retry", "FLY AGAIN", "",
                                 Colour{40, 160, 150, 255}, CCPoint(kWidth * 0.5f, 290.0f), 5);
    retry->keyboardKeyAttribute()->setValue(kKeyR, true);
}

// The scene the exit portal leads to: the home base, quiet, under the debrief.
void addBase(DemoGame& game) {
    ScreenNode& base = game.addScreen("KXNodeScene", "KXModelScreenScene", kBaseSceneKey, "Home Base");
    auto* scene = static_cast<KXModelScreenScene*>(base.screen.get());
    scene->gravityAttribute()->setValue(CCPoint(0.0f, 0.0f), true);
    scene->gameSpeedMinAttribute()->setValue(0.0f, true);
    scene->gameSpeedMaxAttribute()->setValue(0.0f, true);
    addStrip(game, *scene, "Base Sky", starfieldCanvas(), kHeight * 0.5f, CCPoint(7.3f, kHeight / 90.0f),
             0.0f, -1.0f, 0);
}

// start -> space; space -> cockpit (UI); cockpit -> base (End: the exit portal) and debrief (game
// over); base -> debrief (UI); debrief -> space (Retry).
void addGraph(DemoGame& game) {
    const ScreenNode& start = game.screen("KXPScreenStart");
    const ScreenNode& space = game.screen(kShooterSceneKey);
    const ScreenNode& hud = game.screen("hud");
    const ScreenNode& base = game.screen(kBaseSceneKey);
    const ScreenNode& end = game.screen("end");
    demo::linkPort(start, "Load", space);
    demo::linkPort(space, "UI", hud);
    // The end of the game follows the heads-up screen's "End" link, which leads to a scene.
    demo::linkPort(hud, "End", base);
    demo::linkPort(hud, kGameOverObserver, end);
    demo::linkPort(base, "UI", end);
    demo::linkPort(end, "Retry", space);
    float x = 0.0f;
    for (const ScreenNode* node : {&start, &space, &hud, &base, &end}) {
        node->node->positionAttribute()->setValue(CCPoint(x, 0.0f), true);
        x += 220.0f;
    }
}

} // namespace

DemoGame buildShooterGame() {
    KXModelController::shared()->clear();
    DemoGame game;
    demo::addDemoSettings(game);
    game.settings->applicationNameAttribute()->setValue("KX Shooter", true);
    static_cast<KXAttributeKey*>(game.settings->attribute("Shoot Key"))->setValue(demo::kDemoSpaceKey, true);
    demo::addDemoMedia(game);
    demo::addDemoLoading(game);
    addHud(game, addScene(game));
    addBase(game);
    addEnd(game);
    addGraph(game);
    demo::addDemoAtlas(game);
    demo::recordLastId(game);
    return game;
}

size_t writeShooterScenario(const std::string& dir) {
    DemoGame game = buildShooterGame();
    return demo::writeGameFiles(dir, game);
}

} // namespace shooter
} // namespace kxdata
