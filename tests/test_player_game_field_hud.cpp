// The game field of the sample game with its heads-up layer: the HUD over the field, hidden from
// the mirrors' captures, its controls off once no character lives, and requests raised inside the
// world step held for the next update even though the HUD would run them at once.

#include "model/classes/KXModelScreen.h"
#include "player/app/KXPScreensController.h"
#include "player/base/KXPCaptureTarget.h"
#include "player/field/KXPGameFieldCamera.h"
#include "player/field/KXPScreenScene.h"
#include "player/input/KXPInputController.h"
#include "player/screens/KXPScreenUi.h"
#include "support/field_test_support.h"
#include "support/sample_game_support.h"
#include "support/scene_test_support.h"

#include "cocos2d.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace cocos2d;

namespace {

class HudMirror : public KXPObject, public KXPCaptureTarget {
public:
    explicit HudMirror(KXPScreenScene* field) : KXPObject(nullptr), m_field(field) {
        init();
        setType(kTypeMirror);
        autorelease();
    }
    bool capturesInFrame(const std::shared_ptr<KXPMirrorBudget>&, const CCRect&) override { return true; }
    void beginCapture() override { hudSeen.push_back(m_field->getUiLayer()->isVisible()); }
    void endCapture() override {}
    void update(float) override {}
    std::vector<bool> hudSeen;

private:
    KXPScreenScene* m_field;
};

class GameFieldHud : public kxtest::SceneTest {
protected:
    kxtest::SampleGame game;
    KXPScreenScene* field = nullptr;

    void SetUp() override {
        kxtest::SceneTest::SetUp();
        std::string failure;
        if (!game.write(&failure)) {
            GTEST_SKIP() << failure;
        }
        ASSERT_TRUE(game.load(&failure)) << failure;
        KXPScreensController* screens = KXPScreensController::shared();
        screens->reset();
        ASSERT_EQ(screens->showScreens("world1", "", 0), KXPScreensController::kNewScene);
        CCScene* scene = screens->currentScene();
        ASSERT_NE(scene, nullptr);
        director()->runWithScene(scene);
        frames(1);
        field = dynamic_cast<KXPScreenScene*>(static_cast<CCObject*>(scene->getChildren()->objectAtIndex(0)));
        ASSERT_NE(field, nullptr);
    }
    void TearDown() override {
        kxtest::SceneTest::TearDown();
        KXPScreensController::shared()->reset();
        KXPInputController::purgeShared();
    }
};

TEST_F(GameFieldHud, TheSceneShowsItsHudAboveTheFieldAndHidesItFromMirrors) {
    KXPScreenUi* hud = field->getUiLayer();
    ASSERT_NE(hud, nullptr);
    EXPECT_EQ(hud->getParent(), field);
    EXPECT_EQ(hud->getZOrder(), KXPScreenScene::kUiLayerZOrder);
    EXPECT_EQ(hud->model()->key(), "hud");
    EXPECT_EQ(field->getHudKeys().count("hud"), 1u);
    EXPECT_EQ(KXPInputController::existing(), field->getInputController());

    auto* mirror = new HudMirror(field);
    field->getObjectLayer()->addChild(mirror);
    field->addMirror(mirror);
    field->visit();
    EXPECT_EQ(mirror->hudSeen, std::vector<bool>{false});
    EXPECT_TRUE(hud->isVisible());
}

TEST_F(GameFieldHud, TheHudsControlsGoOffOnceNoCharacterLives) {
    KXPScreenUi* hud = field->getUiLayer();
    ASSERT_NE(hud, nullptr);
    kxtest::FakeCharacter* runner = kxtest::FakeCharacter::create(CCPoint(500.0f, 300.0f));
    field->getInputController()->addCharacter(runner);
    frames(1);
    EXPECT_TRUE(hud->controlsEnabled());
    runner->setState(KXPObject::kStateDead);
    frames(1);
    EXPECT_FALSE(hud->controlsEnabled());
    EXPECT_FLOAT_EQ(field->getSlowDown(), 0.1f);
}

TEST_F(GameFieldHud, ARequestRaisedInsideTheWorldStepWaitsForTheNextUpdate) {
    class Requester : public b2ContactListener {
    public:
        explicit Requester(KXPScreenScene* field) : m_field(field) {}
        void BeginContact(b2Contact*) override {
            locked = m_field->getWorld()->IsLocked();
            m_field->setPendingRequest(KXPScreenScene::kRequestFullRestart);
        }
        bool locked = false;

    private:
        KXPScreenScene* m_field;
    } requester(field);
    field->getWorld()->SetContactListener(&requester);
    kxtest::BodyObject* first =
        kxtest::BodyObject::create(field->getWorld(), CCPoint(300.0f, 300.0f), 10.0f, KXPObject::kTypeUnit);
    kxtest::BodyObject* second =
        kxtest::BodyObject::create(field->getWorld(), CCPoint(305.0f, 300.0f), 10.0f, KXPObject::kTypeUnit);
    field->getObjectLayer()->addChild(first);
    field->getObjectLayer()->addChild(second);
    field->update(1.0f / 60.0f);
    EXPECT_TRUE(requester.locked);
    EXPECT_EQ(field->getPendingRequest(), KXPScreenScene::kRequestFullRestart);
    field->getWorld()->SetContactListener(nullptr);

    // The next update rebuilds the level: the colliding pair is gone.
    field->update(1.0f / 60.0f);
    EXPECT_EQ(field->getPendingRequest(), 0);
    EXPECT_EQ(first->getParent(), nullptr);
    EXPECT_EQ(second->getParent(), nullptr);

    // Outside the step the HUD (which has no closing animation) runs a request at once.
    field->setPendingRequest(KXPScreenScene::kRequestFullRestart);
    EXPECT_EQ(field->getPendingRequest(), 0);
}

} // namespace
