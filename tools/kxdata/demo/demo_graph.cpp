// The screen graph: start -> menu; menu -> world (Play) and shop; world -> its heads-up screen
// (UI) and the end screen (End); heads-up -> end (Finish); end -> world (Retry); menu ->
// character selection (Heroes). The end screen's CHECKPOINT rebuilds the running level instead.
#include "model/attributes/KXAttributePoint.h"
#include "model/classes/KXNode.h"
#include "tools/kxdata/demo/demo_game.h"

namespace kxdata {
namespace demo {

void addDemoGraph(DemoGame& game) {
    const ScreenNode& start = game.screen("KXPScreenStart");
    const ScreenNode& menu = game.screen("KXPScreenMainMenu");
    const ScreenNode& shop = game.screen("shop");
    const ScreenNode& world = game.screen("world1");
    const ScreenNode& hud = game.screen("hud");
    const ScreenNode& end = game.screen("end");
    const ScreenNode& levels = game.screen("levels");
    linkPort(start, "Load", menu);
    linkPort(menu, "Play", world);
    linkPort(menu, "Shop", shop);
    linkPort(world, "UI", hud);
    linkPort(world, "End", end);
    linkPort(hud, "Finish", end);
    linkPort(end, "Retry", world);
    linkPort(menu, "Levels", levels);
    linkPort(levels, "Level 1", world);
    linkPort(levels, "Level 2", world);
    const ScreenNode& characters = game.screen("characters");
    linkPort(menu, "Heroes", characters);
    // Where the editor showed the nodes.
    float x = 0.0f;
    for (const ScreenNode* node : {&start, &menu, &shop, &world, &hud, &end, &levels, &characters}) {
        node->node->positionAttribute()->setValue(cocos2d::CCPoint(x, 0.0f), true);
        x += 220.0f;
    }
}

} // namespace demo
} // namespace kxdata
