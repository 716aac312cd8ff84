#include "tools/kxdata/hostile/hostile_runaway.h"

#include <stdexcept>

#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/classes/KXModelAsset.h"
#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelObjectAssetCharacter.h"
#include "model/classes/KXModelScreenScene.h"
#include "tools/kxdata/hostile/hostile_parts.h"

namespace kxdata {
namespace hostile {

namespace {

KXModelScreenScene& demoScene(demo::DemoGame& demo) {
    auto* scene = dynamic_cast<KXModelScreenScene*>(demo.screen("world1").screen.get());
    if (scene == nullptr) {
        throw std::runtime_error("the demo has no game scene world1");
    }
    return *scene;
}

// The demo places one character: its hero.
KXModelObjectAssetCharacter& demoHero(demo::DemoGame& demo) {
    for (const auto& model : demo.models) {
        if (auto* hero = dynamic_cast<KXModelObjectAssetCharacter*>(model.get())) {
            return *hero;
        }
    }
    throw std::runtime_error("the demo places no character");
}

} // namespace

RunawayValues readRunawayValues(demo::DemoGame& demo) {
    const KXModelScreenScene& scene = demoScene(demo);
    const KXModelObjectAssetCharacter& hero = demoHero(demo);
    RunawayValues values;
    values.speedMin = scene.gameSpeedMin();
    values.speedMax = scene.gameSpeedMax();
    values.speedIncrease = scene.speedIncrease();
    values.heroPosition = hero.positionAttribute()->value();
    values.hero = hero.asset();
    return values;
}

void writeRunawayValues(demo::DemoGame& demo, const RunawayValues& values) {
    KXModelScreenScene& scene = demoScene(demo);
    scene.gameSpeedMinAttribute()->setValue(values.speedMin, true);
    scene.gameSpeedMaxAttribute()->setValue(values.speedMax, true);
    scene.speedIncreaseAttribute()->setValue(values.speedIncrease, true);
    demoHero(demo).positionAttribute()->setValue(values.heroPosition, true);
}

void addRunawayField(demo::DemoGame& game, const std::shared_ptr<KXModelAssetObstacle>& slab,
                     const RunawayValues& damaged) {
    demo::ScreenNode& field =
        game.addScreen("KXNodeScene", "KXModelScreenScene", kRunawayKey, "Runaway Field");
    auto* scene = static_cast<KXModelScreenScene*>(field.screen.get());
    scene->gameSpeedMinAttribute()->setValue(damaged.speedMin, true);
    scene->gameSpeedMaxAttribute()->setValue(damaged.speedMax, true);
    scene->speedIncreaseAttribute()->setValue(damaged.speedIncrease, true);
    auto start = section(game, *scene, "Runaway Start", true);
    addFloor(game, *start, slab);
    addRunner(game, *start, "Runaway Runner");
    auto stray = game.make<KXModelObjectAssetCharacter>("KXModelObjectAssetCharacter", "Stray Hero");
    stray->setAsset(damaged.hero);
    place(*stray, damaged.heroPosition, 10);
    start->addChild(stray, true);
    addFloor(game, *section(game, *scene, "Runaway Floor", false), slab);
}

} // namespace hostile
} // namespace kxdata
