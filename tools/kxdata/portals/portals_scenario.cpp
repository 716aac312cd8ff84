#include "tools/kxdata/portals/portals_scenario.h"

#include "model/KXModelController.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/classes/KXModelObjectButton.h"
#include "model/classes/KXModelScreen.h"

using cocos2d::CCPoint;

namespace kxdata {
namespace portals {

using topdown::Canvas;
using topdown::Colour;
using topdown::DemoGame;

namespace {

Canvas vaultPanelCanvas() {
    Canvas canvas(200, 120);
    canvas.roundedRect(0, 0, 200, 120, 18.0f, Colour{150, 110, 20, 235});
    canvas.roundedRect(6, 6, 188, 108, 14.0f, Colour{60, 44, 10, 235});
    return canvas;
}

// Opened by the vault door over the paused works.
void addVault(DemoGame& game) {
    demo::ScreenNode& vault = game.addScreen("KXNodeUI", "KXModelScreen", kVaultKey, "Vault");
    KXModelScreen& screen = *vault.screen;
    demo::addImage(game, screen, "Vault Panel", game.picture("Vault Panel", vaultPanelCanvas()),
                   CCPoint(demo::kWidth * 0.5f, demo::kHeight * 0.5f), CCPoint(3.0f, 3.0f), 0);
    demo::addText(game, screen, "Vault Title", "THE VAULT", CCPoint(demo::kWidth * 0.5f, 400.0f), 2.0f, 2);
    demo::addText(game, screen, "Vault Words", "YOU FOUND THE WAY IN", CCPoint(demo::kWidth * 0.5f, 320.0f),
                  1.0f, 2);
}

} // namespace

DemoGame buildPortalsGame() {
    KXModelController::shared()->clear();
    DemoGame game;
    topdown::startGame(game, "KX Portal Works");
    demo::ScreenNode& works = topdown::addTopDownScene(game, kWorksKey, "Works");
    addWorksLevel(game, *works.screen);
    addVault(game);
    demo::linkPort(game.screen("KXPScreenStart"), "Load", works);
    // The vault door's name is the works' link to follow.
    demo::linkPort(works, kVaultKey, game.screen(kVaultKey));
    topdown::finishGame(game);
    return game;
}

size_t writePortalsScenario(const std::string& dir) {
    return topdown::writeGame(dir, buildPortalsGame());
}

} // namespace portals
} // namespace kxdata
