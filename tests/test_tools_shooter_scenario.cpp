// The shooter scenario as written: its level runs in one fixed order, its screen graph leads where
// the player looks (the end of the game follows a link that must reach a scene), every powerup
// effect lies on the way, and the gravity well changes only what it means to change when the
// player divides its editor figures back into live values.

#include "model/classes/KXBaseNode.h"
#include "model/classes/KXModelAssetPowerup.h"
#include "model/classes/KXModelComponentCharacterGameplaySettings.h"
#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelObjectAssetPowerup.h"
#include "model/classes/KXModelScreen.h"
#include "model/classes/KXModelScreenScene.h"
#include "model/classes/KXNodeScene.h"
#include "model/classes/KXNodeUI.h"
#include "player/base/KXPGameplaySettings.h"
#include "tools/kxdata/shooter/shooter_level.h"
#include "tools/kxdata/shooter/shooter_scenario.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

using kxdata::demo::DemoGame;

template <class T> std::vector<std::shared_ptr<T>> modelsOf(const DemoGame& game) {
    std::vector<std::shared_ptr<T>> found;
    for (const std::shared_ptr<KXModel>& model : game.models) {
        if (auto typed = std::dynamic_pointer_cast<T>(model)) {
            found.push_back(typed);
        }
    }
    return found;
}

template <class T> std::shared_ptr<T> named(const DemoGame& game, const std::string& name) {
    for (const std::shared_ptr<T>& model : modelsOf<T>(game)) {
        if (model->name() == name) {
            return model;
        }
    }
    return nullptr;
}

// The node the port of the screen's node leads to, and its class.
std::shared_ptr<KXBaseNode> nodeBehind(DemoGame& game, const std::string& key, const std::string& port) {
    const kxdata::demo::ScreenNode& from = game.screen(key);
    KXBaseAttribute* output = from.node->attribute(port);
    if (output == nullptr) {
        return nullptr;
    }
    return std::dynamic_pointer_cast<KXBaseNode>(from.node)->nodeLinkedFrom(output);
}

class ShooterScenario : public ::testing::Test {
protected:
    DemoGame game = kxdata::shooter::buildShooterGame();
};

TEST_F(ShooterScenario, EachStretchOfTheWayAdmitsOneSectionSoTheLevelRunsInOrder) {
    const auto sections = modelsOf<KXModelLevelSection>(game);
    ASSERT_EQ(sections.size(), static_cast<size_t>(kxdata::shooter::kSectionCount));
    std::set<std::string> met;
    // The camera asks for a section wherever the last one ended; past the last stretch the final
    // section repeats.
    for (int stretch = 1; stretch <= kxdata::shooter::kSectionCount + 2; ++stretch) {
        const float distance = kxdata::demo::kWidth * static_cast<float>(stretch);
        std::vector<std::string> eligible;
        for (const auto& section : sections) {
            if (section->isInitSection()) {
                continue;
            }
            const bool started = section->startDistance() <= distance;
            const bool open = section->endDistance() < 0.0f || distance < section->endDistance();
            if (started && open && section->playCooldown() < 1.0f) {
                eligible.push_back(section->name());
            }
        }
        ASSERT_EQ(eligible.size(), 1u) << "at " << distance;
        met.insert(eligible.front());
    }
    // Every section but the opening one is reached.
    EXPECT_EQ(met.size(), sections.size() - 1);
}

TEST_F(ShooterScenario, ScreenLinksLeadToTheKindsOfNodeThePlayerFollows) {
    // The exit portal's end of game follows the heads-up screen's "End" link, which only a scene answers.
    auto end = nodeBehind(game, "hud", "End");
    ASSERT_TRUE(end);
    EXPECT_EQ(end->typeId(), KXNodeScene::staticType());
    // The base shows the end screen over itself, as does game over from the heads-up observer.
    auto debrief = nodeBehind(game, kxdata::shooter::kBaseSceneKey, "UI");
    ASSERT_TRUE(debrief);
    EXPECT_EQ(debrief->typeId(), KXNodeUI::staticType());
    auto over = nodeBehind(game, "hud", "Game Over");
    ASSERT_TRUE(over);
    EXPECT_EQ(over.get(), debrief.get());
    auto retry = nodeBehind(game, "end", "Retry");
    ASSERT_TRUE(retry);
    EXPECT_EQ(retry->screen()->key(), kxdata::shooter::kShooterSceneKey);
    auto first = nodeBehind(game, "KXPScreenStart", "Load");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->screen()->key(), kxdata::shooter::kShooterSceneKey);
}

TEST_F(ShooterScenario, EveryPowerupEffectLiesOnTheWay) {
    std::set<std::string> placed;
    for (const auto& powerup : modelsOf<KXModelObjectAssetPowerup>(game)) {
        placed.insert(powerup->powerupType());
    }
    for (const char* type :
         {"kPowerupCoin", "kPowerupNone", "kPowerupMagnet", "kPowerupStrike", "kPowerupInvincibility",
          "kPowerupKillAllEnemies", "kPowerupCheckpoint", "kPowerupRestartCheckpoint",
          "kPowerupNextCheckpoint", "kPowerupGameplay", "kPowerupEndGame"}) {
        EXPECT_EQ(placed.count(type), 1u) << type;
    }
}

// A stand-in for the live record, so the test reads what the asset writes without the player's
// shared one.
class ValuesRecord : public KXGameplayValuesTarget {
public:
    void saveValues() override { ++saves; }
    KXGameplayValues& gameplayValues() override { return values; }
    KXGameplayValues values;
    int saves = 0;
};

TEST_F(ShooterScenario, GravityWellChangesGravityAndSpeedAndKeepsTheRestOfTheShipsHandling) {
    auto scene = named<KXModelScreenScene>(game, "Deep Space Screen");
    auto handling = named<KXModelComponentCharacterGameplaySettings>(game, "Ship Handling");
    auto well = named<KXModelAssetPowerup>(game, "Gravity Well");
    ASSERT_TRUE(scene && handling && well);
    KXPGameplaySettings* live = KXPGameplaySettings::shared();
    const KXGameplayValues kept = live->gameplayValues();
    live->loadSceneSettings(scene.get());
    live->loadCharacterSettings(handling.get());
    const KXGameplayValues before = live->gameplayValues();
    live->gameplayValues() = kept;

    ValuesRecord record;
    record.values = before;
    well->applyGameplayValues(record);
    const KXGameplayValues& during = record.values;
    EXPECT_EQ(record.saves, 1);
    EXPECT_LT(during.gravity.y, -1.0f);
    EXPECT_GT(during.gameSpeedMin, before.gameSpeedMin);
    // The ship keeps pace with the faster view and steers up and down as before.
    EXPECT_NEAR(during.moveSpeed.x / during.gameSpeedMin, before.moveSpeed.x / before.gameSpeedMin, 1e-4f);
    EXPECT_FLOAT_EQ(during.moveSpeed.y, before.moveSpeed.y);
    EXPECT_FLOAT_EQ(during.characterFriction.x, before.characterFriction.x);
    EXPECT_FLOAT_EQ(during.simulationTimeScale, before.simulationTimeScale);
    EXPECT_FLOAT_EQ(during.velocityScale, before.velocityScale);
    EXPECT_FLOAT_EQ(during.rotationScale, before.rotationScale);
    EXPECT_FLOAT_EQ(during.friction, before.friction);
    EXPECT_FLOAT_EQ(during.platformFriction, before.platformFriction);
    EXPECT_FLOAT_EQ(during.scoreMultiplier, before.scoreMultiplier);
    EXPECT_FLOAT_EQ(during.restitution, before.restitution);
    EXPECT_FLOAT_EQ(during.gameplayAngleDirection, before.gameplayAngleDirection);
    EXPECT_EQ(during.upForce.y, before.upForce.y);
    EXPECT_EQ(during.fixedRotation, before.fixedRotation);
}

} // namespace
