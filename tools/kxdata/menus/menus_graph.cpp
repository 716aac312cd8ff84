// The screen graph: loading -> menu; the menu leads to the arena, the shop, the heroes, the level
// select and the extras; every level leads to the arena; the extras to the reward screen; the
// arena shows its heads-up screen. Back buttons follow the way the player came.
#include <stdexcept>

#include "model/attributes/KXAttributePoint.h"
#include "model/classes/KXNode.h"
#include "tools/kxdata/menus/menus_parts.h"
#include "tools/kxdata/menus/menus_scenario.h"

namespace kxdata {
namespace menus {

void addGraph(DemoGame& game) {
    const demo::ScreenNode& menu = game.screen(kMenuKey);
    demo::linkPort(game.screen("KXPScreenStart"), "Load", menu);
    demo::linkPort(menu, "Play", game.screen(kArenaKey));
    demo::linkPort(menu, "Shop", game.screen(kShopKey));
    demo::linkPort(menu, "Heroes", game.screen(kHeroesKey));
    demo::linkPort(menu, "Levels", game.screen(kLevelsKey));
    demo::linkPort(menu, "Extras", game.screen(kExtrasKey));
    for (const char* level : {"Level 1", "Level 2", "Level 3"}) {
        demo::linkPort(game.screen(kLevelsKey), level, game.screen(kArenaKey));
    }
    demo::linkPort(game.screen(kExtrasKey), "Reward", game.screen(kRewardKey));
    // Where the editor showed the nodes.
    float x = 0.0f;
    for (auto& entry : game.screens) {
        entry.second.node->positionAttribute()->setValue(cocos2d::CCPoint(x, 0.0f), true);
        x += 220.0f;
    }
}

std::shared_ptr<KXModel> findModel(DemoGame& game, const std::string& className, const std::string& name) {
    for (const std::shared_ptr<KXModel>& model : game.models) {
        if (model->name() == name && className == model->className()) {
            return model;
        }
    }
    throw std::runtime_error("the scenario has no " + className + " " + name);
}

} // namespace menus
} // namespace kxdata
