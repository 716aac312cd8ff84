// The demo's level drawn for real on its game field: the floor and the one-way ledge hold things
// up (a ball thrown up from below comes through the ledge and stays on it), crabs patrol, the
// boulder tumbles, and the cannon's balls knock the enemies out and vanish off screen.
// KX_SCREENSHOT_DIR=/some/folder keeps pictures of it.

#include "model/KXDebugLog.h"
#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelObjectAssetUnit.h"
#include "player/app/KXPScreensController.h"
#include "player/base/KXPGameplaySettings.h"
#include "player/components/KXComponentHealth.h"
#include "player/field/KXPGameFieldCamera.h"
#include "player/field/KXPScreenScene.h"
#include "player/input/KXPInputController.h"
#include "player/objects/assets/KXPObjectAssetUnit.h"
#include "player/sound/KXSound.h"
#include "support/demo_field_support.h"
#include "support/render_test_support.h"
#include "support/sample_game_support.h"

#include "cocos2d.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

using namespace cocos2d;

namespace {

constexpr float kFrame = 1.0f / 60.0f;

class DemoUnits : public kxtest::RenderTest {
protected:
    std::unique_ptr<KXDebugLogCapture> log;
    kxtest::SampleGame game;
    KXPScreenScene* field = nullptr;
    std::map<std::string, KXPObjectAssetUnit*> units;

    void SetUp() override {
        kxtest::RenderTest::SetUp();
        if (IsSkipped()) {
            return;
        }
        log.reset(new KXDebugLogCapture());
        field = kxtest::openHeldDemoField(game, view, kFrame);
        ASSERT_NE(field, nullptr);
        const auto section = game.named<KXModelLevelSection>("Meadow");
        ASSERT_TRUE(section);
        lay(*section);
    }
    void TearDown() override {
        CCDirector::sharedDirector()->purgeDirector();
        // One-shot sounds still playing: as the player's exit does.
        KXSound::stopGroup(KXSound::kEveryGroup, false);
        units.clear();
        KXPScreensController::shared()->reset();
        KXPInputController::purgeShared();
        log.reset();
        kxtest::RenderTest::TearDown();
    }

    // The field laid the start section itself when it opened: its units by name.
    void lay(const KXModelLevelSection& section) {
        CCObject* item = nullptr;
        CCARRAY_FOREACH(field->getObjectLayer()->getChildren(), item) {
            auto* unit = dynamic_cast<KXPObjectAssetUnit*>(item);
            if (unit != nullptr && unit->levelSectionId() == section.id() &&
                (unit->getType() & KXPObject::kTypeSpawnedCopy) == 0) {
                units[unit->getModel()->name()] = unit;
            }
        }
    }
    void run(int frames) {
        for (int frame = 0; frame < frames; ++frame) {
            field->update(kFrame);
            CCPoolManager::sharedPoolManager()->pop();
        }
    }
    int copies() const {
        int count = 0;
        CCObject* item = nullptr;
        CCARRAY_FOREACH(field->getObjectLayer()->getChildren(), item) {
            auto* unit = dynamic_cast<KXPObjectAssetUnit*>(item);
            count += unit != nullptr && (unit->getType() & KXPObject::kTypeSpawnedCopy) != 0 ? 1 : 0;
        }
        return count;
    }
    // Whether the placed unit of that name is still on the field (the pointers in `units` are
    // only good while it is).
    bool alive(const std::string& name) const {
        CCObject* item = nullptr;
        CCARRAY_FOREACH(field->getObjectLayer()->getChildren(), item) {
            auto* unit = dynamic_cast<KXPObjectAssetUnit*>(item);
            if (unit != nullptr && (unit->getType() & KXPObject::kTypeSpawnedCopy) == 0 &&
                unit->getModel()->name() == name) {
                return true;
            }
        }
        return false;
    }
    void keepScreenshot(const std::string& name) {
        if (const char* folder = std::getenv("KX_SCREENSHOT_DIR")) {
            render({field->getParent()});
            ccSaveScreenshot(std::string(folder) + "/" + name + ".png");
        }
    }
};

TEST_F(DemoUnits, TheMeadowPlaysOnTheGameField) {
    // Eleven of its own, and the armoured crab and the lift that show the behaviour components.
    ASSERT_EQ(units.size(), 13u);
    KXPObjectAssetUnit* ball = units["Ball"];
    KXPObjectAssetUnit* boulder = units["Boulder"];
    KXPObjectAssetUnit* crab = units["Crab 1"];
    KXPObjectAssetUnit* cannon = units["Cannonball"];
    EXPECT_EQ(units["Hills"]->getBody(), nullptr); // still decorations need none
    EXPECT_TRUE(cannon->isSpawner());
    const CCPoint crabStart = crab->getPosition();
    run(1);
    keepScreenshot("demo_units_start");

    // One second: the ball came up through the ledge and rests on it, the boulder lies on the
    // ground and tumbles along it, a crab patrols, the first cannonball hit the armoured crab in
    // front of the other.
    run(30);
    keepScreenshot("demo_units_half_second");
    run(30);
    EXPECT_NEAR(ball->getPosition().y, 250.0f + 10.0f + 18.0f, 2.0f);
    EXPECT_GT(boulder->getPosition().y, 100.0f);
    EXPECT_LT(boulder->getPosition().y, 130.0f);
    EXPECT_GT(boulder->getPosition().x, 400.0f);
    EXPECT_NEAR(crab->getPosition().x - crabStart.x, 48.0f, 4.0f);
    EXPECT_TRUE(alive("Crab 2"));
    EXPECT_EQ(units["Armoured Crab"]->healthComponent()->health(), 2);

    // Ten seconds on: the cannonballs knocked every enemy out, which fell through as sensors and
    // went; the cannon kept firing, and its balls went as they left the screen.
    int most = 0;
    int fired = 0;
    float countdown = cannon->spawnCountdown();
    for (int second = 0; second < 10; ++second) {
        for (int frame = 0; frame < 60; ++frame) {
            run(1);
            most = std::max(most, copies());
            fired += cannon->spawnCountdown() > countdown ? 1 : 0;
            countdown = cannon->spawnCountdown();
        }
        if (second == 0) {
            keepScreenshot("demo_units_two_seconds");
        }
    }
    keepScreenshot("demo_units_later");
    EXPECT_FALSE(alive("Crab 1"));
    EXPECT_FALSE(alive("Crab 2"));
    EXPECT_FALSE(alive("Armoured Crab"));
    EXPECT_FALSE(alive("Boulder"));
    EXPECT_TRUE(alive("Floor"));
    EXPECT_TRUE(alive("Cannonball"));
    // One every 1.2 +- 0.3 s, each crossing the screen in about three seconds.
    EXPECT_GE(fired, 6);
    EXPECT_GE(most, 2);
    EXPECT_LE(most, 5);
}

} // namespace
