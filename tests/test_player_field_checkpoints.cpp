// The running game field's life: lives and game over, restores from the stored checkpoint (and
// the catch-up that cannot run away), restarts and their scores, storing checkpoints, back and
// pause over the HUD, the keypad acting once per press, pausing that leaves the world where it
// was, teleported objects and their destination, the kill-all hook, a second pickup of a running
// powerup type, screen jumps, and gameplay values a powerup left saved when a new scene opens.

#include "audio/AudioBackendSlot.h"
#include "audio/RecordingAudioBackend.h"
#include "model/KXDebugLog.h"
#include "model/attributes/KXAttributeFrameEdgeState.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelAnimation.h"
#include "model/classes/KXModelAssetCharacter.h"
#include "model/classes/KXModelAssetPowerup.h"
#include "model/classes/KXModelComponentDamage.h"
#include "model/classes/KXModelComponentHealth.h"
#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelLinker.h"
#include "model/classes/KXModelObjectAsset.h"
#include "model/classes/KXModelObjectAssetCharacter.h"
#include "model/classes/KXModelObjectAssetPowerup.h"
#include "model/classes/KXModelObjectButton.h"
#include "model/classes/KXModelObjectButtonSwitch.h"
#include "model/classes/KXModelObjectEventObserver.h"
#include "model/classes/KXModelObjectImage.h"
#include "model/classes/KXModelObjectMirror.h"
#include "model/classes/KXModelObjectParticles.h"
#include "model/classes/KXModelObjectScreenJump.h"
#include "model/classes/KXModelQueries.h"
#include "model/classes/KXModelScreenScene.h"
#include "model/classes/KXModelSpriteContainer.h"
#include "model/references/KXAttributeAnimation.h"
#include "player/app/KXPAppDelegate.h"
#include "player/app/KXPScreensController.h"
#include "player/base/KXPGameDataLoaded.h"
#include "player/base/KXPGameplaySettings.h"
#include "player/field/KXPGameFieldCamera.h"
#include "player/field/KXPScreenScene.h"
#include "player/input/KXPInputController.h"
#include "player/objects/assets/KXPObjectAsset.h"
#include "player/objects/buttons/KXPObjectButton.h"
#include "player/objects/character/KXPObjectAssetCharacter.h"
#include "player/screens/KXPScreenUi.h"
#include "player/store/KXPCheckpointTable.h"
#include "player/store/KXPScoreTable.h"
#include "player/store/KXPSettingsController.h"
#include "player/store/KXPSwitchStateTable.h"
#include "support/field_test_support.h"
#include "support/model_class_helpers.h"
#include "support/model_test_models.h"
#include "support/scene_test_support.h"
#include "support/screen_graph.h"
#include "support/screen_test_support.h"
#include "support/state_guards.h"
#include "support/temp_folder.h"
#include "support/trace_lines.h"

#include "AudioEngine.h"
#include "SimpleAudioEngine.h"
#include "cocos2d.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace cocos2d;
using kxtest::BodyObject;
using kxtest::FakeCharacter;

namespace {

constexpr float kFrame = 1.0f / 60.0f;

// A character whose asset carries a health component with lives.
class LivesCharacter : public FakeCharacter {
public:
    explicit LivesCharacter(const std::shared_ptr<KXModelObjectAsset>& model) { m_model = model; }
};

// An asset object of a unit's kind for the kill-all hook.
class EnemyStandIn : public KXPObjectAsset {
public:
    EnemyStandIn(int kind, int destroy, bool awake) : KXPObjectAsset(createModel<KXModelObjectAsset>()) {
        init();
        m_type = kTypeUnit;
        m_objectKind = kind;
        m_destroyMode = destroy;
        m_awake = awake;
        autorelease();
    }
    void update(float) override {}
};

// A node that keeps a sibling on its layer and takes it along when it goes, as particle objects
// do with their emitters.
class SiblingOwner : public CCNode {
public:
    explicit SiblingOwner(CCNode* layer) : m_sibling(new CCNode()) {
        autorelease();
        layer->addChild(this);
        layer->addChild(m_sibling);
    }
    ~SiblingOwner() override {
        m_sibling->removeFromParent();
        m_sibling->release();
    }

private:
    CCNode* m_sibling;
};

size_t countLines(const KXDebugLogCapture& log, const std::string& line) {
    return static_cast<size_t>(std::count(log.lines().begin(), log.lines().end(), line));
}

size_t countLinesWith(const KXDebugLogCapture& log, const std::string& part) {
    return static_cast<size_t>(
        std::count_if(log.lines().begin(), log.lines().end(),
                      [&part](const std::string& line) { return line.find(part) != std::string::npos; }));
}

class FieldCheckpoints : public kxtest::ScreenTest {
protected:
    std::shared_ptr<KXModelScreenScene> world;
    std::shared_ptr<KXModelScreen> hud;
    KXPScreenScene* field = nullptr;

    void SetUp() override {
        ScreenTest::SetUp();
        world = graph.scene("world");
        world->gravityAttribute()->setValue(CCPointZero, true);
        hud = graph.ui("hud");
        graph.link("world", "UI", "hud");
    }

    std::shared_ptr<KXModelLevelSection> section(const std::string& name, float width, bool opening = false) {
        auto made = std::static_pointer_cast<KXModelLevelSection>(
            kxtest::ScreenGraph::make("KXModelLevelSection", name));
        made->widthAttribute()->setValue(width, true);
        made->initSectionAttribute()->setValue(opening, true);
        world->addChild(made, true);
        return made;
    }
    // A checkpoint powerup that always appears, placed at `position` in its section.
    static std::shared_ptr<KXModelObjectAssetPowerup> checkpointPowerup(const CCPoint& position) {
        auto asset =
            std::static_pointer_cast<KXModelAssetPowerup>(kxtest::ScreenGraph::make("KXModelAssetPowerup"));
        asset->setCollisionBox(CCSize(20.0f, 20.0f), CCPointZero);
        asset->powerupTypeAttribute()->setValue("kPowerupCheckpoint", true);
        asset->appearanceChanceAttribute()->setValue(100.0f, true);
        auto placed = std::static_pointer_cast<KXModelObjectAssetPowerup>(
            kxtest::ScreenGraph::make("KXModelObjectAssetPowerup"));
        placed->setAsset(asset);
        placed->positionAttribute()->setValue(position, true);
        return placed;
    }
    std::shared_ptr<KXModelObjectButton> button(KXModelScreen& screen, const std::string& name,
                                                const std::string& action) {
        auto model = graph.object<KXModelObjectButton>(screen, "KXModelObjectButton", name,
                                                       CCPoint(200.0f, 200.0f), 1);
        model->actionAttribute()->setValue(action, true);
        model->intervalAttribute()->setValue(0.0f, true);
        return model;
    }
    // The world with its HUD, running; the camera stands still.
    void open() {
        KXPScreensController* screens = KXPScreensController::shared();
        ASSERT_EQ(screens->showScreens("world", "hud", 0), KXPScreensController::kNewScene);
        CCScene* scene = screens->currentScene();
        ASSERT_NE(scene, nullptr);
        director()->runWithScene(scene);
        frames(1);
        field = dynamic_cast<KXPScreenScene*>(scene->getChildByTag(0));
        ASSERT_NE(field, nullptr);
        KXPGameplaySettings* gameplay = KXPGameplaySettings::shared();
        gameplay->setGameSpeedMin(0.0f);
        gameplay->setGameSpeedMax(0.0f);
        gameplay->setGameSpeed(0.0f);
    }
    CCNode* layer() const { return field->getObjectLayer(); }
    FakeCharacter* character(const CCPoint& position) {
        FakeCharacter* made = FakeCharacter::create(position);
        layer()->addChild(made);
        field->getInputController()->addCharacter(made);
        return made;
    }
    // A character whose asset has a health component with that many lives.
    std::shared_ptr<KXModelComponentHealth> livesCharacter(int lives) {
        auto asset = std::static_pointer_cast<KXModelAssetCharacter>(
            kxtest::ScreenGraph::make("KXModelAssetCharacter"));
        auto health = std::static_pointer_cast<KXModelComponentHealth>(
            kxtest::ScreenGraph::make("KXModelComponentHealth"));
        health->livesAttribute()->setValue(static_cast<float>(lives), true);
        asset->addChild(health, true);
        auto placed = std::static_pointer_cast<KXModelObjectAsset>(
            kxtest::ScreenGraph::make("KXModelObjectAssetCharacter"));
        placed->setAsset(asset);
        health->remainingLives = health->lives();
        addLivesCharacter(placed);
        return health;
    }
    void addLivesCharacter(const std::shared_ptr<KXModelObjectAsset>& placed) {
        auto* made = new LivesCharacter(placed);
        made->init();
        made->autorelease();
        layer()->addChild(made);
        field->getInputController()->addCharacter(made);
    }
    void run(int count) {
        for (int frame = 0; frame < count; ++frame) {
            field->update(kFrame);
        }
    }
    void killFirstCharacter() {
        field->getInputController()->characters().front()->characterObject()->setState(KXPObject::kStateDead);
    }
    // Whole frames (the HUD's timers run too) until `done`, at most ten seconds of them; counts
    // the frames in which game over comes into force.
    bool framesUntil(const std::function<bool()>& done) {
        for (int frame = 0; frame < 600 && !done(); ++frame) {
            frames(1);
            if (field->isGameOver() && !wasOver) {
                ++gameOversBegun;
            }
            wasOver = field->isGameOver();
        }
        return done();
    }
    bool rebuilt() const { return field->getInputController()->characters().empty(); }
    // The model the first character was made from, to put a new one in after a death.
    std::shared_ptr<KXModelObjectAsset> firstCharacterModel() const {
        return std::static_pointer_cast<KXModelObjectAsset>(
            field->getInputController()->characters().front()->characterObject()->getModel());
    }
    bool heldByHud() const {
        return field->getUiLayer() != nullptr && field->getUiLayer()->hasDeferredAction();
    }
    int gameOversBegun = 0;
    bool wasOver = false;
};

TEST_F(FieldCheckpoints, ThreeLivesRebuildTheLevelTwiceAndTheThirdDeathEndsTheGame) {
    open();
    const auto health = livesCharacter(3);
    const auto placed = firstCharacterModel();
    BodyObject* marker =
        BodyObject::create(field->getWorld(), CCPoint(300.0f, 300.0f), 10.0f, KXPObject::kTypeUnit);
    layer()->addChild(marker);
    for (int death = 1; death <= 2; ++death) {
        field->setGameOver(true);
        EXPECT_FALSE(field->isGameOver());
        EXPECT_EQ(health->remainingLives, 3 - death);
        // The HUD runs the rebuild at once: the field is empty again, the game goes on.
        EXPECT_EQ(marker->getParent(), nullptr);
        EXPECT_TRUE(field->getInputController()->characters().empty());
        addLivesCharacter(placed);
        marker = BodyObject::create(field->getWorld(), CCPoint(300.0f, 300.0f), 10.0f, KXPObject::kTypeUnit);
        layer()->addChild(marker);
    }
    field->setGameOver(true);
    EXPECT_TRUE(field->isGameOver());
    EXPECT_EQ(health->remainingLives, 0);
    EXPECT_EQ(marker->getParent(), layer());
    EXPECT_FALSE(field->getUiLayer()->controlsEnabled());
    // A new game fills the lives again.
    field->handleRequest(KXPScreenScene::kRequestFullRestart);
    EXPECT_FALSE(field->isGameOver());
    EXPECT_EQ(health->remainingLives, 3);
}

TEST_F(FieldCheckpoints, WithoutHealthTheGameEndsAtOnceAndOnlyOnce) {
    open();
    character(CCPoint(100.0f, 100.0f));
    BodyObject* powerup =
        BodyObject::create(field->getWorld(), CCPoint(300.0f, 300.0f), 10.0f, KXPObject::kTypePowerup);
    layer()->addChild(powerup);
    field->setGameOver(true);
    EXPECT_TRUE(field->isGameOver());
    EXPECT_EQ(powerup->getState(), KXPObject::kStateDead);
    powerup->setState(KXPObject::kStateActive);
    field->setGameOver(true);
    EXPECT_EQ(powerup->getState(), KXPObject::kStateActive);
    // Back at game over plays the level again.
    field->keyBackClicked();
    EXPECT_FALSE(field->isGameOver());
    EXPECT_EQ(powerup->getParent(), nullptr);
}

TEST_F(FieldCheckpoints, BehindAClosingHudEachDeathCostsOneLifeAndOnlyTheLastEndsTheGame) {
    hud->closeAnimationFramesAttribute()->setValue(6, true);
    open();
    const auto health = livesCharacter(3);
    const auto placed = firstCharacterModel();
    for (int death = 1; death <= 2; ++death) {
        killFirstCharacter();
        ASSERT_TRUE(framesUntil([this] { return rebuilt(); }));
        EXPECT_EQ(health->remainingLives, 3 - death);
        EXPECT_EQ(gameOversBegun, 0);
        addLivesCharacter(placed);
    }
    killFirstCharacter();
    ASSERT_TRUE(framesUntil([this] { return field->isGameOver(); }));
    // Nothing held back comes later to fill the lives and rebuild the level.
    framesUntil([] { return false; });
    EXPECT_TRUE(field->isGameOver());
    EXPECT_EQ(gameOversBegun, 1);
    EXPECT_EQ(health->remainingLives, 0);
}

TEST_F(FieldCheckpoints, ARebuildTheHudDropsLetsGoOfTheFieldAndTheDeathStillCostsOneLife) {
    hud->closeAnimationFramesAttribute()->setValue(6, true);
    open();
    const auto health = livesCharacter(3);
    const auto placed = firstCharacterModel();
    const unsigned int references = field->retainCount();

    // The HUD made again before its closing animation has played.
    killFirstCharacter();
    ASSERT_TRUE(framesUntil([this] { return heldByHud(); }));
    field->refreshUiLayer();
    EXPECT_EQ(field->retainCount(), references);
    ASSERT_TRUE(framesUntil([this] { return rebuilt(); }));
    EXPECT_EQ(health->remainingLives, 2);
    EXPECT_FALSE(field->isGameOver());

    // Another deferred action taking the rebuild's place.
    addLivesCharacter(placed);
    killFirstCharacter();
    ASSERT_TRUE(framesUntil([this] { return heldByHud(); }));
    field->getUiLayer()->runAfterCloseAnimation([] {});
    EXPECT_EQ(field->retainCount(), references);
    ASSERT_TRUE(framesUntil([this] { return rebuilt(); }));
    EXPECT_EQ(health->remainingLives, 1);
    EXPECT_EQ(gameOversBegun, 0);
}

// The restart button and the restore from the checkpoint rebuild the level while the HUD holds
// the rebuild of a death: that death has its answer, and the next one costs a life of its own.
TEST_F(FieldCheckpoints, ARebuildWhileTheHudHoldsOneLetsTheNextDeathCostItsOwnLife) {
    hud->closeAnimationFramesAttribute()->setValue(6, true);
    open();
    const auto health = livesCharacter(5);
    const auto placed = firstCharacterModel();
    const std::vector<std::pair<const char*, std::function<void()>>> rebuilds{
        {"restart", [this] { field->restartLevel(nullptr); }},
        {"game over off", [this] { field->setGameOver(false); }}};
    int lives = 5;
    for (const auto& rebuild : rebuilds) {
        killFirstCharacter();
        ASSERT_TRUE(framesUntil([this] { return heldByHud(); })) << rebuild.first;
        EXPECT_EQ(health->remainingLives, --lives) << rebuild.first;
        rebuild.second();
        addLivesCharacter(placed);
        killFirstCharacter();
        ASSERT_TRUE(framesUntil([this] { return rebuilt() && !heldByHud(); })) << rebuild.first;
        EXPECT_EQ(health->remainingLives, --lives) << rebuild.first;
        addLivesCharacter(placed);
    }
    EXPECT_EQ(gameOversBegun, 0);
}

// The last life spent after such a rebuild ends the game; the rebuild the HUD held for the death
// before neither rebuilds the level again nor fills the lives, and the HUD comes back.
TEST_F(FieldCheckpoints, AHeldRebuildThatARestartAnsweredLeavesAGameThatEndedOver) {
    hud->closeAnimationFramesAttribute()->setValue(30, true);
    open();
    const auto health = livesCharacter(2);
    const auto placed = firstCharacterModel();
    killFirstCharacter();
    ASSERT_TRUE(framesUntil([this] { return heldByHud(); }));
    field->restartLevel(nullptr);
    addLivesCharacter(placed);
    killFirstCharacter();
    ASSERT_TRUE(framesUntil([this] { return field->isGameOver(); }));
    ASSERT_TRUE(heldByHud());
    KXPScreenUi* closing = field->getUiLayer();
    ASSERT_TRUE(framesUntil([this, closing] { return field->getUiLayer() != closing; }));
    framesUntil([] { return false; });
    EXPECT_TRUE(field->isGameOver());
    EXPECT_EQ(health->remainingLives, 0);
    EXPECT_FALSE(rebuilt());
    ASSERT_NE(field->getUiLayer(), nullptr);
    EXPECT_FALSE(field->getUiLayer()->isClosing());
    EXPECT_FALSE(field->getUiLayer()->controlsEnabled());
}

TEST_F(FieldCheckpoints, AFieldReplacedWhileItsHudHoldsARebuildIsFreed) {
    hud->closeAnimationFramesAttribute()->setValue(6, true);
    graph.scene("world2");
    graph.link("world", "Next", "world2");
    open();
    livesCharacter(3);
    killFirstCharacter();
    ASSERT_TRUE(framesUntil([this] { return heldByHud(); }));
    KXDebugLogCapture log;
    ASSERT_TRUE(screens()->openScene("Next", false, 0));
    director()->replaceScene(screens()->currentScene());
    field = nullptr;
    frames(2);
    EXPECT_EQ(countLines(log, "KXPScreenScene - deallocated"), 1u);
}

// Scenes let go of before they ran (the screens controller built one and navigated on, or the
// director was handed one and then another) are cleaned up: their fields go, world and all.
TEST_F(FieldCheckpoints, ScenesLetGoOfBeforeTheyRanGoWithTheirFields) {
    graph.scene("world2");
    graph.scene("world3");
    graph.link("world", "Next", "world2");
    graph.link("world2", "Next", "world3");
    open();
    KXDebugLogCapture log;
    ASSERT_TRUE(screens()->openScene("Next", false, 0));
    ASSERT_NE(screens()->currentScene(), nullptr);
    // Built, never handed to the director: the controller moves on.
    ASSERT_TRUE(screens()->openScene("Next", false, 0));
    director()->replaceScene(screens()->currentScene());
    // Handed to the director, replaced before it ran.
    ASSERT_EQ(screens()->showScreens("world", "hud", 0), KXPScreensController::kNewScene);
    director()->replaceScene(screens()->currentScene());
    field = nullptr;
    frames(2);
    // Both, and the field that ran before them.
    EXPECT_EQ(countLines(log, "KXPScreenScene - deallocated"), 3u);
    EXPECT_EQ(screens()->currentSceneKey(), "world");
}

// A field being built is not yet the running level: the objects of the field it replaces, still
// finishing their frame, do not reach it.
TEST_F(FieldCheckpoints, AFieldIsTheRunningLevelOnceItIsOnTheStage) {
    graph.scene("world2");
    graph.link("world", "Next", "world2");
    open();
    EXPECT_EQ(screens()->currentLevelField(), static_cast<KXPLevelField*>(field));
    ASSERT_TRUE(screens()->openScene("Next", false, 0));
    CCScene* next = screens()->currentScene();
    ASSERT_NE(next, nullptr);
    EXPECT_NE(screens()->currentScreenScene(), nullptr);
    EXPECT_EQ(screens()->currentLevelField(), nullptr);
    director()->replaceScene(next);
    field = nullptr;
    frames(1);
    EXPECT_NE(screens()->currentLevelField(), nullptr);
    EXPECT_EQ(screens()->currentLevelField(), dynamic_cast<KXPLevelField*>(next->getChildByTag(0)));
}

// A link on the HUD to another game scene: the leaving field and its HUD stop at once, and do not
// play the frame that is left before the director switches (their objects would act on the next
// scene's controllers and checkpoint).
TEST_F(FieldCheckpoints, AChangeOfSceneFromTheHudStopsTheLeavingSceneAtOnce) {
    graph.scene("world2");
    graph.link("hud", "Next", "world2");
    button(*hud, "Next", "kNoAction");
    open();
    KXPScreenScene* leaving = field;
    KXPScreenUi* leavingHud = field->getUiLayer();
    ASSERT_NE(leavingHud, nullptr);
    leaving->retain();
    leavingHud->retain();
    const unsigned int steps = leaving->getStepCount();
    const float hudTime = leavingHud->animationTimer();
    KXPObjectButton* next = leavingHud->buttonWithAction("kNoAction");
    ASSERT_NE(next, nullptr);
    next->activate();
    ASSERT_NE(director()->getNextScene(), nullptr);
    EXPECT_EQ(screens()->currentSceneKey(), "world2");
    field = nullptr;
    frames(1);
    EXPECT_EQ(leaving->getStepCount(), steps);
    EXPECT_EQ(leavingHud->animationTimer(), hudTime);
    EXPECT_NE(director()->getRunningScene()->getChildByTag(0), leaving);
    leavingHud->release();
    leaving->release();
}

// A change of scene asked for inside the object pass (an end-game powerup, a screen jump) waits for
// the next update: the objects after it in the pass still play against this field, and in the
// next update the change is all this field does.
TEST_F(FieldCheckpoints, AChangeOfSceneAskedWhileObjectsRunComesFirstInTheNextUpdate) {
    graph.scene("end");
    graph.link("hud", "End", "end");
    graph.scene("world2");
    graph.link("world", "Next", "world2");
    const std::vector<std::pair<std::string, std::function<void(KXPScreenScene*)>>> ways = {
        {"end", [](KXPScreenScene* at) { at->finishGame(); }},
        {"world2", [](KXPScreenScene* at) { at->switchScreen("Next", false, true, 1); }},
    };
    open();
    for (const auto& way : ways) {
        if (field == nullptr) {
            ASSERT_EQ(screens()->showScreens("world", "hud", 0), KXPScreensController::kNewScene);
            director()->replaceScene(screens()->currentScene());
            frames(1);
            field = dynamic_cast<KXPScreenScene*>(director()->getRunningScene()->getChildByTag(0));
            ASSERT_NE(field, nullptr);
        }
        BodyObject* asking =
            BodyObject::create(field->getWorld(), CCPoint(100.0f, 100.0f), 10.0f, KXPObject::kTypeUnit);
        BodyObject* after =
            BodyObject::create(field->getWorld(), CCPoint(300.0f, 100.0f), 10.0f, KXPObject::kTypeUnit);
        layer()->addChild(asking);
        layer()->addChild(after);
        KXPScreenScene* running = field;
        asking->onUpdate = [running, &way](BodyObject* self) {
            if (self->updates.empty()) {
                way.second(running);
            }
        };
        std::vector<bool> sameField;
        after->onUpdate = [running, &sameField](BodyObject*) {
            sameField.push_back(KXPInputController::shared() == running->getInputController() &&
                                screens()->currentLevelField() == static_cast<KXPLevelField*>(running));
        };
        run(1);
        EXPECT_EQ(sameField, std::vector<bool>{true}) << way.first;
        EXPECT_EQ(screens()->currentSceneKey(), "world") << way.first;
        EXPECT_EQ(director()->getNextScene(), nullptr) << way.first;
        const unsigned int steps = field->getStepCount();
        run(1);
        EXPECT_EQ(screens()->currentSceneKey(), way.first);
        EXPECT_NE(director()->getNextScene(), nullptr) << way.first;
        EXPECT_EQ(sameField.size(), 1u) << way.first;
        EXPECT_EQ(field->getStepCount(), steps) << way.first;
        field = nullptr;
        frames(1);
    }
}

// An overlay a screen jump opens inside the object pass may lead on to another scene in its very
// first update (an observer whose time is 0): that first update waits for the field's next update
// as well, and the change it makes is then all the field does.
TEST_F(FieldCheckpoints, AnOverlayOpenedWhileObjectsRunHasItsFirstUpdateInTheNextUpdate) {
    auto over = graph.ui("over");
    graph.link("world", "Over", "over");
    graph.scene("world2");
    graph.link("over", "Next", "world2");
    auto observer =
        graph.object<KXModelObjectEventObserver>(*over, "KXModelObjectEventObserver", "Next", CCPointZero, 1);
    static_cast<KXAttributeString*>(observer->attribute("Event Type"))->setValue("kTimeout", true);
    static_cast<KXAttributeUInt*>(observer->attribute("Time"))->setValue(0u, true);
    open();
    BodyObject* jump =
        BodyObject::create(field->getWorld(), CCPoint(100.0f, 100.0f), 10.0f, KXPObject::kTypeUnit);
    BodyObject* after =
        BodyObject::create(field->getWorld(), CCPoint(300.0f, 100.0f), 10.0f, KXPObject::kTypeUnit);
    layer()->addChild(jump);
    layer()->addChild(after);
    KXPScreenScene* running = field;
    jump->onUpdate = [running](BodyObject* self) {
        if (self->updates.empty()) {
            running->switchScreen("Over", false, false, 0);
        }
    };
    std::vector<bool> sameField;
    after->onUpdate = [running, &sameField](BodyObject*) {
        sameField.push_back(KXPInputController::shared() == running->getInputController());
    };
    run(1);
    EXPECT_EQ(sameField, std::vector<bool>{true});
    EXPECT_EQ(screens()->currentUiKey(), "over");
    EXPECT_EQ(director()->getNextScene(), nullptr);
    const unsigned int steps = field->getStepCount();
    run(1);
    EXPECT_EQ(screens()->currentSceneKey(), "world2");
    EXPECT_NE(director()->getNextScene(), nullptr);
    EXPECT_EQ(field->getStepCount(), steps);
    EXPECT_EQ(sameField.size(), 1u);
    field = nullptr;
    frames(1);
}

// Requests made inside the object pass (a restart-checkpoint powerup taken, one used from the HUD)
// wait for the next update even though the HUD would run them at once: the level is not rebuilt
// under the objects still to run in the pass, nor under the powerup being used.
TEST_F(FieldCheckpoints, ARequestMadeWhileObjectsRunRebuildsTheLevelAtTheNextUpdate) {
    open();
    character(CCPoint(500.0f, 300.0f));
    BodyObject* asking =
        BodyObject::create(field->getWorld(), CCPoint(100.0f, 100.0f), 10.0f, KXPObject::kTypeUnit);
    BodyObject* after =
        BodyObject::create(field->getWorld(), CCPoint(300.0f, 100.0f), 10.0f, KXPObject::kTypeUnit);
    layer()->addChild(asking);
    layer()->addChild(after);
    KXPScreenScene* running = field;
    asking->onUpdate = [running](BodyObject* self) {
        if (self->updates.empty()) {
            running->setPendingRequest(KXPScreenScene::kRequestFullRestart);
        }
    };
    run(1);
    EXPECT_FALSE(rebuilt());
    EXPECT_EQ(after->updates.size(), 1u);
    EXPECT_EQ(after->getParent(), layer());
    EXPECT_EQ(field->getPendingRequest(), KXPScreenScene::kRequestFullRestart);
    run(1);
    EXPECT_TRUE(rebuilt());
    EXPECT_EQ(after->getParent(), nullptr);

    character(CCPoint(500.0f, 300.0f));
    auto restart =
        std::static_pointer_cast<KXModelAssetPowerup>(kxtest::ScreenGraph::make("KXModelAssetPowerup"));
    restart->powerupTypeAttribute()->setValue("kPowerupRestartCheckpoint", true);
    field->applyPowerup(restart, true);
    EXPECT_FALSE(rebuilt());
    EXPECT_NE(field->getPendingRequest(), 0);
    run(1);
    EXPECT_TRUE(rebuilt());
}

// A death's rebuild asked for while the HUD keeps a button's action for the end of its closing
// animation waits behind that action instead of taking its place. A link to another screen goes
// first, then the rebuild for the life spent comes (through the new screen, which takes the game
// back to its HUD); a restart pressed answers the death itself, and the level is rebuilt once.
TEST_F(FieldCheckpoints, ADeathsRebuildWaitsBehindTheActionTheClosingHudKeeps) {
    hud->closeAnimationFramesAttribute()->setValue(6, true);
    graph.ui("over");
    graph.link("hud", "Over", "over");
    button(*hud, "Over", "kNoAction");
    button(*hud, "Again", KXPScreenUi::kRestartAction);
    for (const bool restart : {false, true}) {
        if (field == nullptr) {
            open();
        }
        const auto health = livesCharacter(3);
        kxtest::TraceLines trace("game");
        KXPObjectButton* pressed =
            field->getUiLayer()->buttonWithAction(restart ? KXPScreenUi::kRestartAction : "kNoAction");
        ASSERT_NE(pressed, nullptr);
        pressed->activate();
        ASSERT_TRUE(heldByHud());
        field->setGameOver(true);
        EXPECT_EQ(health->remainingLives, 2);
        EXPECT_FALSE(rebuilt()) << restart;
        if (!restart) {
            ASSERT_TRUE(framesUntil([] { return screens()->currentUiKey() == "over"; }));
            EXPECT_FALSE(rebuilt());
        }
        ASSERT_TRUE(framesUntil([this] { return rebuilt(); })) << restart;
        framesUntil([this] { return !heldByHud() && field->getPendingRequest() == 0; });
        frames(2);
        const std::vector<std::string> lines = trace.lines();
        EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                                [](const std::string& line) { return line.rfind("game restore", 0) == 0; }),
                  1)
            << restart;
        EXPECT_EQ(health->remainingLives, restart ? 3 : 2);
        EXPECT_EQ(screens()->currentUiKey(), "hud");
        EXPECT_FALSE(field->isGameOver());
    }
}

TEST_F(FieldCheckpoints, TheRestoreLaysTheSectionBeforeTheCheckpointAndItsOwnAndPutsTheCameraThere) {
    auto opening = section("opening", 800.0f, true);
    auto before = section("before", 600.0f);
    auto own = section("own", 700.0f);
    own->startDistanceAttribute()->setValue(5000.0f, true); // never chosen by the streaming
    // Without characters to follow, the camera is not pulled back to the start.
    world->objectFrameStateAttribute(3)->setValue(KXObjectFrameEdgePushBack, true);
    open();
    KXPCheckpointRecord& record = checkpointRecord("world");
    record.position = CCPoint(3000.0f, 120.0f);
    record.cameraOffset = CCPoint(-2600.0f, 0.0f);
    record.distance = 2400.0f;
    record.levelSectionId = static_cast<int32_t>(own->id());
    FakeCharacter* runner = character(CCPoint(100.0f, 100.0f));
    KXDebugLogCapture log;
    field->restoreFromCheckpoint();
    // Opening at 0; "before" chosen for 2300 and laid so that it ends at 2400; "own" at 2400;
    // then the catch-up to the camera, now at 4000: "before" at 3100 and 3700.
    EXPECT_EQ(opening->placedDistance(), 0.0f);
    EXPECT_EQ(own->placedDistance(), 2400.0f);
    EXPECT_TRUE(log.contains("add level section: " + std::to_string(before->id())));
    EXPECT_EQ(before->placedDistance(), 3700.0f);
    EXPECT_EQ(field->getLaidDistance(), 4300.0f);
    EXPECT_TRUE(log.contains("Restore Camera Positon: -2600.000000 0.000000"));
    EXPECT_TRUE(layer()->getPosition().equals(CCPoint(-2600.0f, 0.0f)));
    EXPECT_FLOAT_EQ(field->getCameraDistance(), 1400.0f + 2600.0f);
    // The restore dropped the characters before it could place them.
    EXPECT_TRUE(runner->bodyPlacements.empty());
    EXPECT_EQ(runner->getParent(), nullptr);

    // Without a stored checkpoint only the start and what the catch-up adds up to 1400.
    record = KXPCheckpointRecord();
    field->restoreFromCheckpoint();
    EXPECT_EQ(field->getLaidDistance(), 800.0f + 600.0f);
    EXPECT_TRUE(layer()->getPosition().equals(CCPointZero));
}

// Narrow sections are laid up to the camera in the rebuild's frame as long as the field holds what
// a playable level holds; once the sections have crowded it, the streaming lays the rest, one a
// frame.
TEST_F(FieldCheckpoints, TheCatchUpLaysNarrowSectionsInItsFrameUntilTheyCrowdTheField) {
    section("opening", 100.0f, true);
    // Five points a pass, each with one object: 260 passes reach the camera.
    auto tile = section("tile", 5.0f);
    tile->soloAttribute()->setValue(true, true);
    tile->addChild(kxtest::ScreenGraph::make("KXModelObjectParticles"), true);
    open();
    const std::string tileLine = "add level section: " + std::to_string(tile->id());
    {
        KXDebugLogCapture log;
        field->restoreFromCheckpoint();
        EXPECT_EQ(countLines(log, tileLine), 260u);
        EXPECT_GE(field->getLaidDistance(), field->getCameraDistance());
        EXPECT_EQ(countLinesWith(log, "the level goes on in the next frames"), 0u);
    }

    // A point a pass, each with forty objects: the rebuild stops once the layer and the sections
    // still being made hold a thousand objects (the opening and 31 of these, the least it lays),
    // and the streaming lays on, at most one a frame, as the sections are made.
    tile->widthAttribute()->setValue(1.0f, true);
    for (int index = 1; index < 40; ++index) {
        tile->addChild(kxtest::ScreenGraph::make("KXModelObjectParticles"), true);
    }
    KXDebugLogCapture log;
    field->restoreFromCheckpoint();
    const size_t laid = countLines(log, tileLine);
    EXPECT_EQ(laid, KXPScreenScene::kRestoreSections - 1);
    EXPECT_EQ(field->getLaidDistance(), 100.0f + static_cast<float>(laid));
    EXPECT_EQ(countLinesWith(log, "the level goes on in the next frames"), 1u);
    size_t before = laid;
    for (int frame = 0; frame < 100; ++frame) {
        frames(1);
        const size_t now = countLines(log, tileLine);
        ASSERT_LE(now, before + 1) << frame;
        before = now;
    }
    EXPECT_GT(before, laid + 10);
}

// A mirror linked to another object rides under it: it leaves the mirror list with its carrier,
// whether the level is rebuilt or the carrier is left behind the view.
TEST_F(FieldCheckpoints, AMirrorCarriedByAnotherObjectLeavesTheMirrorListWithItsCarrier) {
    auto opening = section("opening", 2000.0f, true);
    auto carrier =
        std::static_pointer_cast<KXModelObjectParticles>(kxtest::ScreenGraph::make("KXModelObjectParticles"));
    carrier->positionAttribute()->setValue(CCPoint(300.0f, 300.0f), true);
    opening->addChild(carrier, true);
    auto pool =
        std::static_pointer_cast<KXModelObjectMirror>(kxtest::ScreenGraph::make("KXModelObjectMirror"));
    pool->positionAttribute()->setValue(CCPoint(300.0f, 150.0f), true);
    opening->addChild(pool, true);
    auto linker = std::static_pointer_cast<KXModelLinker>(kxtest::ScreenGraph::make("KXModelLinker"));
    linker->setObjects(carrier, pool, true);
    opening->addChild(linker, true);
    open();
    ASSERT_EQ(field->getMirrors().size(), 1u);
    KXPObject* first = field->getMirrors().front();
    ASSERT_NE(first->getParent(), layer());
    first->retain();
    for (int restart = 0; restart < 3; ++restart) {
        field->restartLevel(nullptr);
    }
    // The first one is held by nothing but this test.
    EXPECT_EQ(first->retainCount(), 1u);
    first->release();
    // One mirror drawn into each frame: the one of the level now laid, under its carrier.
    ASSERT_EQ(field->getMirrors().size(), 1u);
    KXPObject* listed = field->getMirrors().front();
    ASSERT_NE(listed->getParent(), nullptr);
    EXPECT_EQ(listed->getParent()->getParent(), layer());
    frames(2);
    EXPECT_EQ(field->getMirrors(), std::vector<KXPObject*>{listed});

    // The carrier left far behind the view goes, and its mirror with it.
    listed->getParent()->setPosition(CCPoint(-5000.0f, 300.0f));
    run(1);
    EXPECT_TRUE(field->getMirrors().empty());
}

// A path cleans itself up at its death where it stands: a mirror riding under it stays in the field
// and on the list.
TEST_F(FieldCheckpoints, AMirrorUnderAPathThatDiesStaysListed) {
    auto opening = section("opening", 2000.0f, true);
    auto path = kxtest::ScreenGraph::make("KXModelObjectPath");
    opening->addChild(path, true);
    auto pool =
        std::static_pointer_cast<KXModelObjectMirror>(kxtest::ScreenGraph::make("KXModelObjectMirror"));
    opening->addChild(pool, true);
    auto linker = std::static_pointer_cast<KXModelLinker>(kxtest::ScreenGraph::make("KXModelLinker"));
    linker->setObjects(std::static_pointer_cast<KXModelObject>(path), pool, true);
    opening->addChild(linker, true);
    open();
    ASSERT_EQ(field->getMirrors().size(), 1u);
    KXPObject* mirror = field->getMirrors().front();
    auto* carrier = dynamic_cast<KXPObject*>(mirror->getParent());
    ASSERT_NE(carrier, nullptr);
    carrier->setState(KXPObject::kStateDead);
    EXPECT_EQ(mirror->getParent(), carrier);
    EXPECT_EQ(field->getMirrors(), std::vector<KXPObject*>{mirror});
}

TEST_F(FieldCheckpoints, ARestartGoesBackToTheStartAndAFullRestartTakesTheRunOutOfTheGlobalScores) {
    open();
    KXPScoreRecord& global = worldScores("");
    KXPScoreRecord& run = currentWorldScores();
    global.coins.session = 50;
    global.commit();
    run.coins.session = 20;
    run.commit();
    global.coins.session = 70;
    run.coins.session = 35;
    checkpointRecord("world").position = CCPoint(10.0f, 10.0f);
    // The restart button: no checkpoint, the run's scores 0 with their copies, the global ones
    // back to their copy.
    field->restartLevel(nullptr);
    EXPECT_EQ(checkpointRecord("world").levelSectionId, -1);
    EXPECT_TRUE(checkpointRecord("world").position.equals(CCPointZero));
    EXPECT_EQ(run.coins.session, 0);
    EXPECT_EQ(run.coins.backup()->values[0], 0);
    EXPECT_EQ(global.coins.session, 50);

    // A full restart: both back to their copies, then the run's copy taken out of the global one.
    run.coins.session = 20;
    run.commit();
    global.coins.session = 90;
    field->handleRequest(KXPScreenScene::kRequestFullRestart);
    EXPECT_EQ(global.coins.session, 30);
    EXPECT_EQ(global.coins.backup()->values[0], 30);
    EXPECT_EQ(run.coins.session, 0);
    EXPECT_EQ(run.coins.backup()->values[0], 0);
}

TEST_F(FieldCheckpoints, RestartingFromTheCheckpointTurnsTheSwitchesOffSoTheFirstPressTurnsOneOn) {
    button(*hud, "Again", "kRestartCheckpointButton");
    auto toggle = graph.object<KXModelObjectButtonSwitch>(*hud, "KXModelObjectButtonSwitch", "Toggle",
                                                          CCPoint(600.0f, 200.0f), 1);
    toggle->intervalAttribute()->setValue(0.0f, true);
    open();
    switchStateTable()[toggle] = true;
    KXPScreenUi* ui = field->getUiLayer();
    ui->onRestartCheckpoint(ui->buttonWithAction("kRestartCheckpointButton"));
    frames(2);
    EXPECT_TRUE(switchStateTable().empty());
    KXPObjectButton* flip = nullptr;
    for (KXPObjectButton* each : field->getUiLayer()->allButtons()) {
        flip = each->getModel() == toggle ? each : flip;
    }
    ASSERT_NE(flip, nullptr);
    flip->selected();
    EXPECT_TRUE(switchStateTable()[toggle]);
    clearSwitchStates();
}

TEST_F(FieldCheckpoints, ACheckpointRemembersItsSectionsDistanceAndTheWayTheCameraCame) {
    auto opening = section("opening", 500.0f, true);
    auto runner = std::static_pointer_cast<KXModelObjectAssetCharacter>(
        kxtest::ScreenGraph::make("KXModelObjectAssetCharacter"));
    runner->positionAttribute()->setValue(CCPoint(200.0f, 100.0f), true);
    opening->addChild(runner, true);
    auto later = section("later", 500.0f);
    open();
    later->setPlacedDistance(1500.0f);
    currentWorldScores().points.session = 12;
    field->activateCheckpoint(CCPoint(1700.0f, 300.0f), static_cast<int>(later->id()));
    const KXPCheckpointRecord& record = *currentCheckpoint();
    EXPECT_EQ(record.distance, 1500.0f);
    EXPECT_EQ(record.levelSectionId, static_cast<int32_t>(later->id()));
    EXPECT_TRUE(record.position.equals(CCPoint(1700.0f, 300.0f)));
    // Along the gameplay direction only: 1500 from the characters' start.
    EXPECT_NEAR(record.cameraOffset.x, -1500.0f, 0.01f);
    EXPECT_NEAR(record.cameraOffset.y, 0.0f, 0.01f);
    EXPECT_EQ(currentWorldScores().points.backup()->values[0], 12);
    // A checkpoint where the characters started keeps the camera where it starts.
    field->activateCheckpoint(CCPoint(200.0f, 100.0f), static_cast<int>(later->id()));
    EXPECT_NEAR(currentCheckpoint()->cameraOffset.x, 0.0f, 0.01f);
}

TEST_F(FieldCheckpoints, ACheckpointInASectionWhoseIdIsPastTheIntRangeKeepsAndTracesThatId) {
    section("opening", 500.0f, true);
    const kxtest::ScopedIdCounter ids(0x80000004u);
    auto later = section("later", 500.0f);
    ASSERT_EQ(later->id(), 2147483653u);
    open();
    later->setPlacedDistance(1500.0f);
    kxtest::TraceLines trace("game");
    field->activateCheckpoint(CCPoint(1700.0f, 300.0f), later->id());
    EXPECT_EQ(currentCheckpoint()->levelSectionId, later->id());
    EXPECT_EQ(currentCheckpoint()->distance, 1500.0f);
    EXPECT_EQ(trace.lines(),
              std::vector<std::string>{"game checkpoint at=1700,300 section=2147483653 distance=1500"});
    EXPECT_NE(serializeCheckpoints().find(" -2147483643"), std::string::npos) << serializeCheckpoints();
}

TEST_F(FieldCheckpoints, TheSearchForACheckpointPowerupAheadEnds) {
    auto opening = section("opening", 500.0f, true);
    auto plain = section("plain", 500.0f);
    auto object =
        std::static_pointer_cast<KXModelObjectParticles>(kxtest::ScreenGraph::make("KXModelObjectParticles"));
    plain->addChild(object, true);
    open();
    KXDebugLogCapture log;
    field->findCheckpointPowerup();
    EXPECT_EQ(countLines(log, "Warning: checkpoint powerup NOT found"), 1u);
    // Sections without children: it gives up silently once the distance passes a million.
    plain->removeChild(object);
    log.clear();
    field->findCheckpointPowerup();
    EXPECT_EQ(countLines(log, "Warning: checkpoint powerup NOT found"), 0u);
}

TEST_F(FieldCheckpoints, TheSearchAheadJumpsToTheSectionWithACheckpointAndLeavesTheStreamingAsItWas) {
    section("opening", 500.0f, true);
    auto plain = section("plain", 400.0f);
    plain->playCooldownAttribute()->setValue(2.0f, true);
    plain->addChild(kxtest::ScreenGraph::make("KXModelObjectParticles"), true);
    // Only far ahead, and for a short stretch, can the section with the checkpoint be laid.
    auto far = section("far", 300.0f);
    far->startDistanceAttribute()->setValue(900000.0f, true);
    far->endDistanceAttribute()->setValue(900050.0f, true);
    auto checkpoint = checkpointPowerup(CCPoint(40.0f, 60.0f));
    far->addChild(checkpoint, true);
    open();
    plain->setCooldownCounter(1);
    std::srand(7);
    const int expectedDraw = std::rand();
    std::srand(7);
    KXDebugLogCapture log;
    field->findCheckpointPowerup();
    EXPECT_EQ(countLines(log, "Checkpoint powerup activated for object that was not creatied at distance "
                              "900000.000000"),
              1u);
    // Nothing was drawn from the random sequence and no cooldown moved.
    EXPECT_EQ(std::rand(), expectedDraw);
    EXPECT_EQ(plain->cooldownCounter(), 1);
    EXPECT_EQ(far->cooldownCounter(), 0);
    EXPECT_FLOAT_EQ(far->placedDistance(), 900000.0f);
    KXPObjectAsset* made = nullptr;
    CCObject* item = nullptr;
    CCARRAY_FOREACH(layer()->getChildren(), item) {
        auto* object = dynamic_cast<KXPObjectAsset*>(item);
        if (object != nullptr && object->getModel() == checkpoint) {
            made = object;
        }
    }
    ASSERT_NE(made, nullptr);
    EXPECT_NEAR(made->getPosition().x, 900040.0f, 0.5f);
    EXPECT_EQ(made->getState(), 1);
}

TEST_F(FieldCheckpoints, TheCheckpointAlreadyReachedIsLookedForOneLayFurtherOn) {
    section("opening", 500.0f, true);
    auto ahead = section("ahead", 400.0f);
    ahead->startDistanceAttribute()->setValue(5000.0f, true);
    ahead->addChild(checkpointPowerup(CCPoint(40.0f, 60.0f)), true);
    open();
    // The checkpoint reached stands where the section's first lay would put its powerup.
    field->activateCheckpoint(CCPoint(5040.0f, 60.0f), static_cast<int>(ahead->id()));
    KXDebugLogCapture log;
    field->findCheckpointPowerup();
    EXPECT_EQ(
        countLines(log,
                   "Checkpoint powerup activated for object that was not creatied at distance 5400.000000"),
        1u);
}

// Kinds are bits: a path carrying a powerup adds its own bit, and the powerup is still the next
// checkpoint ahead, the active one of its type, and dead at game over.
TEST_F(FieldCheckpoints, APowerupRidingAPathIsFoundAheadFoundActiveAndKilledAtGameOver) {
    auto opening = section("opening", 2000.0f, true);
    auto checkpoint = checkpointPowerup(CCPoint(600.0f, 100.0f));
    opening->addChild(checkpoint, true);
    open();
    character(CCPoint(100.0f, 100.0f));
    KXPObjectAsset* riding = nullptr;
    CCObject* item = nullptr;
    CCARRAY_FOREACH(layer()->getChildren(), item) {
        auto* object = dynamic_cast<KXPObjectAsset*>(item);
        if (object != nullptr && object->getModel() == checkpoint) {
            riding = object;
        }
    }
    ASSERT_NE(riding, nullptr);
    // What a path does to the objects it carries.
    riding->setType(riding->getType() | KXPObject::kTypeCarriedByPath);
    EXPECT_EQ(field->findNearestCheckpointPowerup(nullptr), riding);
    KXDebugLogCapture log;
    field->findCheckpointPowerup();
    EXPECT_TRUE(log.contains("Checkpoint powerup activated for object that already created with distance: "
                             "500.000000"));
    EXPECT_FALSE(log.contains("Checkpoint powerup activated for object that was not creatied at distance "
                              "2000.000000"));
    EXPECT_EQ(field->findActivePowerup("kPowerupCheckpoint", nullptr), riding);
    BodyObject* waiting = BodyObject::create(field->getWorld(), CCPoint(900.0f, 100.0f), 10.0f,
                                             KXPObject::kTypePowerup | KXPObject::kTypeCarriedByPath);
    layer()->addChild(waiting);
    field->setGameOver(true);
    ASSERT_TRUE(field->isGameOver());
    EXPECT_EQ(waiting->getState(), KXPObject::kStateDead);
    // Dead once collected, its effect is over and it goes.
    EXPECT_EQ(riding->getState(), KXPObject::kStateRemoved);
}

TEST_F(FieldCheckpoints, BackPausesOverTheHudAndWhilePausedGoesBackAndTheGameRunsAgain) {
    button(*hud, "Pause Button", "kPauseButton");
    graph.ui("pause");
    graph.link("hud", "Pause", "pause");
    open();
    field->keyBackClicked();
    EXPECT_TRUE(field->isPaused());
    EXPECT_EQ(KXPScreensController::shared()->currentUiKey(), "pause");
    field->keyBackClicked();
    EXPECT_FALSE(field->isPaused());
    EXPECT_EQ(KXPScreensController::shared()->currentUiKey(), "hud");
    // The pause button twice: one pause screen.
    field->pause(nullptr);
    field->pause(nullptr);
    EXPECT_EQ(KXPScreensController::shared()->uiKeys().size(), 2u);
}

TEST_F(FieldCheckpoints, APauseButtonOpensTheScreenItIsNamedAfterAndWithoutANamePause) {
    auto pauseButton = button(*hud, "Shop", "kPauseButton");
    graph.ui("shop");
    graph.link("hud", "Shop", "shop");
    graph.ui("pause");
    graph.link("hud", "Pause", "pause");
    open();
    KXPScreenUi* ui = field->getUiLayer();
    ui->onPause(ui->buttonWithAction("kPauseButton"));
    frames(1);
    EXPECT_TRUE(field->isPaused());
    EXPECT_EQ(KXPScreensController::shared()->currentUiKey(), "shop");
    // Back to the HUD, which resumes the game.
    field->keyBackClicked();
    EXPECT_FALSE(field->isPaused());
    ASSERT_EQ(KXPScreensController::shared()->currentUiKey(), "hud");
    pauseButton->setName("");
    ui = field->getUiLayer();
    ui->onPause(ui->buttonWithAction("kPauseButton"));
    frames(1);
    EXPECT_TRUE(field->isPaused());
    EXPECT_EQ(KXPScreensController::shared()->currentUiKey(), "pause");
}

TEST_F(FieldCheckpoints, TheBackgroundLeavesAPausedGameAsItWasAndTheWayBackObeysTheMutes) {
    graph.ui("pause");
    graph.link("hud", "Pause", "pause");
    auto backend = std::make_unique<cocos2d::audio::RecordingAudioBackend>();
    cocos2d::audio::RecordingAudioBackend* recorder = backend.get();
    cocos2d::audio::installBackend(std::move(backend));
    open();
    field->pause(nullptr);
    ASSERT_TRUE(field->isPaused());
    ASSERT_FALSE(field->skipNextInterstitial());
    CocosDenshion::SimpleAudioEngine::sharedEngine()->playBackgroundMusic("music.mp3", true);
    ASSERT_NE(experimental::AudioEngine::play2d("hit.wav", true),
              experimental::AudioEngine::INVALID_AUDIO_ID);
    const int voice = recorder->lastVoice();
    const auto called = [recorder](const std::string& line) {
        return std::count(recorder->calls().begin(), recorder->calls().end(), line);
    };
    setGameDataLoaded(true);
    KXPSettingsController::shared()->muteEffects = true;
    KXPAppDelegate delegate;
    recorder->clearCalls();
    delegate.applicationDidEnterBackground();
    EXPECT_TRUE(field->isPaused());
    EXPECT_FALSE(field->skipNextInterstitial());
    EXPECT_EQ(KXPScreensController::shared()->uiKeys().size(), 2u);
    EXPECT_FALSE(director()->isAnimating());
    EXPECT_EQ(called("pauseMusic"), 1);
    EXPECT_GE(called("pauseEffect " + std::to_string(voice)), 1);

    // Back with the effects muted (as stored): the music plays on, the effects stay paused.
    recorder->clearCalls();
    delegate.applicationWillEnterForeground();
    EXPECT_TRUE(director()->isAnimating());
    EXPECT_EQ(called("resumeMusic"), 1);
    EXPECT_EQ(called("resumeEffect " + std::to_string(voice)), 0);
    // With the music muted instead: the effects only.
    KXPSettingsController::shared()->muteEffects = false;
    KXPSettingsController::shared()->muteBackground = true;
    delegate.applicationDidEnterBackground();
    recorder->clearCalls();
    delegate.applicationWillEnterForeground();
    EXPECT_EQ(called("resumeMusic"), 0);
    EXPECT_GE(called("resumeEffect " + std::to_string(voice)), 1);
    setGameDataLoaded(false);
    experimental::AudioEngine::stopAll();
    cocos2d::audio::shutdownAudio();
}

TEST_F(FieldCheckpoints, ASecondPickupOfARunningTypeEndsTheFirstAndTheEffectGoesOn) {
    open();
    auto magnet =
        std::static_pointer_cast<KXModelAssetPowerup>(kxtest::ScreenGraph::make("KXModelAssetPowerup"));
    magnet->powerupTypeAttribute()->setValue("kPowerupMagnet", true);
    magnet->durationAttribute()->setValue(5.0f, true);
    kxtest::TraceLines trace("powerups");
    field->applyPowerup(magnet, true);
    KXPObjectAsset* first = field->findActivePowerup("kPowerupMagnet", nullptr);
    ASSERT_NE(first, nullptr);
    first->retain();
    EXPECT_TRUE(field->isMagnetActive());
    field->applyPowerup(magnet, true);
    // The first one's effect is over (without labels it is finished at once) before the new one
    // begins, and the new one runs.
    EXPECT_EQ(trace.lines(), (std::vector<std::string>{"powerup effect type=kPowerupMagnet in-game=1",
                                                       "powerup end type=kPowerupMagnet",
                                                       "powerup effect type=kPowerupMagnet in-game=1"}));
    EXPECT_EQ(first->getState(), KXPObject::kStateRemoved);
    KXPObjectAsset* second = field->findActivePowerup("kPowerupMagnet", nullptr);
    EXPECT_NE(second, nullptr);
    EXPECT_NE(second, first);
    EXPECT_TRUE(field->isMagnetActive());
    first->release();
}

TEST_F(FieldCheckpoints, APowerupUsedAboveOrBelowACharacterAtTheEndsOfTheDepthRangeWraps) {
    open();
    FakeCharacter* hero = character(CCPoint(100.0f, 100.0f));
    auto magnet =
        std::static_pointer_cast<KXModelAssetPowerup>(kxtest::ScreenGraph::make("KXModelAssetPowerup"));
    magnet->powerupTypeAttribute()->setValue("kPowerupMagnet", true);
    magnet->durationAttribute()->setValue(5.0f, true);
    const struct {
        int character;
        bool above;
        int powerup;
    } cases[] = {{INT_MAX, true, INT_MIN}, {INT_MIN, false, INT_MAX}};
    for (const auto& entry : cases) {
        hero->setZOrder(entry.character);
        field->applyPowerup(magnet, entry.above);
        KXPObjectAsset* used = field->findActivePowerup("kPowerupMagnet", nullptr);
        ASSERT_NE(used, nullptr);
        EXPECT_EQ(used->getZOrder(), entry.powerup) << entry.character;
    }
}

// The replaced powerup gives back the values it saved before the new one saves them again: one
// level of saved values, whose restore at the end brings back the values from before both.
TEST_F(FieldCheckpoints, ASecondGameplayPickupRestoresTheFirstOnesValuesBeforeItsOwn) {
    struct Restored {
        ~Restored() { KXPGameplaySettings::shared()->restoreAllValues(); }
    } restored;
    open();
    KXPGameplaySettings* gameplay = KXPGameplaySettings::shared();
    gameplay->setGravity(CCPoint(0.0f, -10.0f));
    auto pickup = [](float gravity) {
        auto asset =
            std::static_pointer_cast<KXModelAssetPowerup>(kxtest::ScreenGraph::make("KXModelAssetPowerup"));
        asset->powerupTypeAttribute()->setValue("kPowerupGameplay", true);
        asset->durationAttribute()->setValue(0.5f, true);
        asset->gravityAttribute()->setValue(CCPoint(0.0f, gravity), true);
        return asset;
    };
    kxtest::TraceLines trace("gameplay");
    field->applyPowerup(pickup(-5.0f), true);
    field->applyPowerup(pickup(-20.0f), true);
    EXPECT_EQ(trace.lines(),
              (std::vector<std::string>{"gravity x=0.000 y=-5.000", "gravity x=0.000 y=-10.000",
                                        "gravity x=0.000 y=-20.000"}));
    EXPECT_EQ(gameplay->saveNesting(), 1);
    EXPECT_FLOAT_EQ(field->getWorld()->GetGravity().y, -20.0f);
    // Half a second on, the second one ends: the values from before the first come back.
    run(40);
    EXPECT_EQ(field->findActivePowerup("kPowerupGameplay", nullptr), nullptr);
    EXPECT_EQ(gameplay->saveNesting(), 0);
    EXPECT_FLOAT_EQ(gameplay->getGravity().y, -10.0f);
    EXPECT_FLOAT_EQ(field->getWorld()->GetGravity().y, -10.0f);
}

TEST_F(FieldCheckpoints, APauseHoldsTheWorldWhereItWas) {
    open();
    BodyObject* ball =
        BodyObject::create(field->getWorld(), CCPoint(100.0f, 100.0f), 10.0f, KXPObject::kTypeUnit);
    layer()->addChild(ball);
    ball->getBody()->SetLinearVelocity(b2Vec2(6.0f, 0.0f));
    run(3);
    const b2Vec2 before = ball->getBody()->GetPosition();
    const CCPoint shown = ball->getPosition();
    field->setPaused(true);
    run(30);
    EXPECT_EQ(ball->getBody()->GetPosition().x, before.x);
    EXPECT_TRUE(ball->getPosition().equals(shown));
    field->setPaused(false);
    run(1);
    EXPECT_NEAR(ball->getBody()->GetPosition().x, before.x + 0.1f, 1e-4f);
}

TEST_F(FieldCheckpoints, EachKeypadPressActsOnceAndOnlyWhileTheGameRuns) {
    open();
    FakeCharacter* runner = character(CCPoint(100.0f, 100.0f));
    for (int key : {23, 96, 99, 100}) {
        runner->calls.clear();
        // The dispatcher and the input controller may both deliver the same press.
        field->onKeyDown(key);
        field->onKeyDown(key);
        field->onKeyUp(key);
        field->onKeyUp(key);
        EXPECT_EQ(runner->calls, (std::vector<std::string>{"jump", "endJump"})) << key;
    }
    field->onKeyDown(22);
    EXPECT_TRUE(runner->direction().equals(CCPoint(1.0f, 0.0f)));
    // Paused in between: the release still ends what the press began; a new press does nothing.
    field->setPaused(true);
    field->onKeyUp(22);
    EXPECT_TRUE(field->getInputController()->heldActions().empty());
    runner->calls.clear();
    field->onKeyDown(23);
    field->onKeyUp(23);
    EXPECT_TRUE(runner->calls.empty());
}

TEST_F(FieldCheckpoints, ATeleportedObjectComesOutOfItsDestinationWhichOpensOnceItHasLeft) {
    open();
    auto model =
        std::static_pointer_cast<KXModelObjectParticles>(kxtest::ScreenGraph::make("KXModelObjectParticles"));
    KXPObjectAsset* entering = KXPObjectAsset::create(model);
    ASSERT_NE(entering, nullptr);
    entering->setTag(static_cast<int>(model->id()));
    entering->setPosition(CCPoint(100.0f, 100.0f));
    layer()->addChild(entering);
    KXPObjectAsset* exit = KXPObjectAsset::create(model);
    exit->setPosition(CCPoint(800.0f, 200.0f));
    exit->setRotation(90.0f);
    layer()->addChild(exit);
    exit->setMovementEnabled(false);
    field->addTeleport(entering, exit);
    EXPECT_EQ(field->getTeleportQueue().size(), 1u);
    field->update(kFrame);
    EXPECT_TRUE(field->getTeleportQueue().empty());
    EXPECT_EQ(entering->getState(), KXPObject::kStateRemoved);
    KXPObject* copy = nullptr;
    CCObject* item = nullptr;
    CCARRAY_FOREACH(layer()->getChildren(), item) {
        KXPObject* object = dynamic_cast<KXPObject*>(item);
        if (object != nullptr && object != entering && object->getTag() == static_cast<int>(model->id())) {
            copy = object;
        }
    }
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(copy->getPosition().equals(CCPoint(800.0f, 200.0f)));
    EXPECT_NEAR(copy->getRotation(), 90.0f, 1e-3f);
    // The destination takes nothing in while the copy stands in it, and opens once it left.
    field->update(kFrame);
    EXPECT_FALSE(exit->isMovementEnabled());
    copy->setPosition(CCPoint(1200.0f, 200.0f));
    field->update(kFrame);
    EXPECT_TRUE(exit->isMovementEnabled());
}

// Piled teleports send objects to a destination the field lets go of before their next frame.
TEST_F(FieldCheckpoints, AnObjectOnItsWayOutOfADestinationThatLeftTheFieldComesOutWhereItStood) {
    open();
    auto model =
        std::static_pointer_cast<KXModelObjectParticles>(kxtest::ScreenGraph::make("KXModelObjectParticles"));
    KXPObjectAsset* first = KXPObjectAsset::create(model);
    ASSERT_NE(first, nullptr);
    KXPObjectAsset* second = KXPObjectAsset::create(model);
    KXPObjectAsset* exit = KXPObjectAsset::create(model);
    for (KXPObjectAsset* object : {first, second, exit}) {
        object->setTag(static_cast<int>(model->id()));
        layer()->addChild(object);
    }
    exit->setPosition(CCPoint(800.0f, 200.0f));
    // The first copy stands in the exit, which waits for it to leave.
    field->addTeleport(first, exit);
    frames(1);
    field->addTeleport(second, exit);
    exit->removeFromParent();
    frames(1);
    EXPECT_EQ(second->getState(), KXPObject::kStateRemoved);
    size_t copies = 0;
    CCObject* item = nullptr;
    CCARRAY_FOREACH(layer()->getChildren(), item) {
        KXPObject* object = dynamic_cast<KXPObject*>(item);
        if (object != nullptr && object->getState() != KXPObject::kStateRemoved &&
            object->getTag() == static_cast<int>(model->id())) {
            EXPECT_TRUE(object->getPosition().equals(CCPoint(800.0f, 200.0f)));
            ++copies;
        }
    }
    EXPECT_EQ(copies, 2u);
}

// A portal among many partners sends a copy to each: the field brings out a frame's share and the
// rest in the frames that follow, in the order they were sent.
TEST_F(FieldCheckpoints, ObjectsSentToManyDestinationsAtOnceComeOutAFramesShareAtATime) {
    open();
    auto model =
        std::static_pointer_cast<KXModelObjectParticles>(kxtest::ScreenGraph::make("KXModelObjectParticles"));
    const size_t sent = KXPScreenScene::kTeleportsPerFrame + 8;
    for (size_t index = 0; index < sent; ++index) {
        KXPObjectAsset* entering = KXPObjectAsset::create(model);
        KXPObjectAsset* exit = KXPObjectAsset::create(model);
        ASSERT_NE(entering, nullptr);
        exit->setPosition(CCPoint(100.0f + 50.0f * static_cast<float>(index), 200.0f));
        layer()->addChild(entering);
        layer()->addChild(exit);
        field->addTeleport(entering, exit);
    }
    const auto cameOut = [&] {
        size_t count = 0;
        CCObject* item = nullptr;
        CCARRAY_FOREACH(layer()->getChildren(), item) {
            KXPObject* object = dynamic_cast<KXPObject*>(item);
            count += object != nullptr && object->getPosition().y == 200.0f &&
                     object->getPosition().x > 0.0f && object->getState() != KXPObject::kStateRemoved;
        }
        // Each destination, and each copy standing in it.
        return count - sent;
    };
    frames(1);
    EXPECT_EQ(cameOut(), KXPScreenScene::kTeleportsPerFrame);
    EXPECT_EQ(field->getTeleportQueue().size(), sent - KXPScreenScene::kTeleportsPerFrame);
    frames(1);
    EXPECT_EQ(cameOut(), sent);
    EXPECT_TRUE(field->getTeleportQueue().empty());
}

TEST_F(FieldCheckpoints, ATeleportedObjectBringsItsLinkedObjectsAlongWhereTheyStoodToIt) {
    open();
    auto carrier =
        std::static_pointer_cast<KXModelObjectParticles>(kxtest::ScreenGraph::make("KXModelObjectParticles"));
    carrier->positionAttribute()->setValue(CCPoint(10.0f, 20.0f), true);
    auto rider =
        std::static_pointer_cast<KXModelObjectParticles>(kxtest::ScreenGraph::make("KXModelObjectParticles"));
    rider->positionAttribute()->setValue(CCPoint(40.0f, 20.0f), true);
    auto linker = std::static_pointer_cast<KXModelLinker>(kxtest::ScreenGraph::make("KXModelLinker"));
    linker->setObjects(carrier, rider, true);
    KXPObjectAsset* entering = KXPObjectAsset::create(carrier);
    ASSERT_NE(entering, nullptr);
    entering->setTag(static_cast<int>(carrier->id()));
    layer()->addChild(entering);
    KXPObjectAsset* exit = KXPObjectAsset::create(carrier);
    exit->setPosition(CCPoint(800.0f, 200.0f));
    layer()->addChild(exit);
    field->addTeleport(entering, exit);
    field->update(kFrame);
    // The linked object is made again, as far from the copy as its model is from the carrier's.
    std::vector<CCNode*> riders;
    std::vector<CCNode*> work{layer()};
    while (!work.empty()) {
        CCNode* node = work.back();
        work.pop_back();
        CCObject* item = nullptr;
        CCARRAY_FOREACH(node->getChildren(), item) {
            CCNode* child = static_cast<CCNode*>(item);
            if (child->getTag() == static_cast<int>(rider->id())) {
                riders.push_back(child);
            }
            work.push_back(child);
        }
    }
    ASSERT_EQ(riders.size(), 1u);
    const CCPoint where = layer()->convertToNodeSpace(riders.front()->convertToWorldSpace(CCPointZero));
    EXPECT_NEAR(where.x, 830.0f, 0.01f);
    EXPECT_NEAR(where.y, 200.0f, 0.01f);
    EXPECT_TRUE(dynamic_cast<KXPObject*>(riders.front())->isControlActive());
}

TEST_F(FieldCheckpoints, KillAllTakesOnlyAwakeVisibleEnemiesThatCollisionsDestroy) {
    open();
    auto* target = new EnemyStandIn(KXPObjectAsset::kKindEnemy, KXPObjectAsset::kDestroyCollision, true);
    auto* sleeping = new EnemyStandIn(KXPObjectAsset::kKindEnemy, KXPObjectAsset::kDestroyCollision, false);
    auto* hidden = new EnemyStandIn(KXPObjectAsset::kKindEnemy, KXPObjectAsset::kDestroyCollision, true);
    auto* platform = new EnemyStandIn(KXPObjectAsset::kKindPlatform, KXPObjectAsset::kDestroyCollision, true);
    auto* tough = new EnemyStandIn(KXPObjectAsset::kKindEnemy, KXPObjectAsset::kDestroyAllCollision, true);
    auto* nested = new EnemyStandIn(KXPObjectAsset::kKindEnemy, KXPObjectAsset::kDestroyCollision, true);
    hidden->setVisible(false);
    for (KXPObjectAsset* object : {target, sleeping, hidden, platform, tough}) {
        layer()->addChild(object);
    }
    platform->addChild(nested);
    field->killAllEnemies();
    EXPECT_EQ(target->getState(), KXPObject::kStateDead);
    EXPECT_EQ(nested->getState(), KXPObject::kStateDead);
    for (KXPObjectAsset* object : {sleeping, hidden, platform, tough}) {
        EXPECT_EQ(object->getState(), KXPObject::kStateActive);
    }
}

TEST_F(FieldCheckpoints, ValuesAPowerupLeftSavedGiveWayWhenTheNextSceneOpens) {
    KXPGameplaySettings* gameplay = KXPGameplaySettings::shared();
    gameplay->setMoveSpeed(5.0f, 0.0f);
    gameplay->saveValues();
    gameplay->saveValues();
    gameplay->setMoveSpeed(50.0f, 0.0f);
    open();
    EXPECT_EQ(gameplay->saveNesting(), 0);
    EXPECT_TRUE(gameplay->getMoveSpeed().equals(CCPoint(5.0f, 0.0f)));
}

TEST_F(FieldCheckpoints, ValuesAPowerupLeftSavedGiveWayInTheNextGameAlsoAfterAMenu) {
    graph.ui("menu");
    open();
    KXPGameplaySettings* gameplay = KXPGameplaySettings::shared();
    gameplay->setMoveSpeed(5.0f, 0.0f);
    gameplay->saveValues();
    gameplay->setMoveSpeed(50.0f, 0.0f);
    // Out to a menu while the powerup runs, then into a game again.
    KXPScreensController* screens = KXPScreensController::shared();
    screens->resetToUi("menu");
    director()->replaceScene(screens->currentScene());
    frames(2);
    ASSERT_EQ(screens->currentScreenScene(), nullptr);
    ASSERT_EQ(screens->showScreens("world", "hud", 0), KXPScreensController::kNewScene);
    director()->replaceScene(screens->currentScene());
    frames(2);
    ASSERT_NE(screens->currentScreenScene(), nullptr);
    EXPECT_TRUE(gameplay->getMoveSpeed().equals(CCPoint(5.0f, 0.0f)));
    EXPECT_EQ(gameplay->saveNesting(), 0);
    // The old powerup's end, should it come, restores nothing more.
    gameplay->setMoveSpeed(7.0f, 0.0f);
    gameplay->restoreValues();
    EXPECT_TRUE(gameplay->getMoveSpeed().equals(CCPoint(7.0f, 0.0f)));
}

TEST_F(FieldCheckpoints, EnteringTheGameShowsTheHudsAdsButNotTheFields) {
    KXDebugLogCapture log;
    open();
    const auto banner = [&log](const std::string& key) {
        return std::count_if(log.lines().begin(), log.lines().end(), [&key](const std::string& line) {
            return line.rfind("[" + key + "] banner: ", 0) == 0;
        });
    };
    EXPECT_EQ(banner("world"), 0);
    EXPECT_EQ(banner("hud"), 1);
}

} // namespace

TEST_F(FieldCheckpoints, SwitchingScreensOpensAnOverlayOrAnotherSceneFromInsideTheGame) {
    graph.ui("over");
    graph.link("world", "Over", "over");
    graph.scene("world2");
    graph.link("world", "Next", "world2");
    open();
    // An overlay of the scene: the field stays and holds still under it as asked.
    field->switchScreen("Over", true, false, 0);
    EXPECT_EQ(KXPScreensController::shared()->currentUiKey(), "over");
    EXPECT_TRUE(field->isPaused());
    ASSERT_NE(field->getUiLayer(), nullptr);
    EXPECT_EQ(field->getUiLayer()->model()->key(), "over");
    field->switchScreen("Over", false, false, 0);
    EXPECT_FALSE(field->isPaused());
    // A name the scene does not link leaves everything as it was.
    field->switchScreen("Nowhere", true, false, 0);
    EXPECT_FALSE(field->isPaused());
    EXPECT_EQ(director()->getRunningScene()->getChildByTag(0), field);
    // Another game scene replaces this one.
    field->switchScreen("Next", false, true, 0);
    frames(2);
    auto* next = dynamic_cast<KXPScreenScene*>(director()->getRunningScene()->getChildByTag(0));
    ASSERT_NE(next, nullptr);
    EXPECT_NE(next, field);
    EXPECT_EQ(next->getSceneModel()->key(), "world2");
}

// A screen jump a live character touches opens the screen it is named after, as its model asks:
// over the game, holding the game still or not; or another game scene, started afresh unless the
// jump starts it from its checkpoint.
TEST_F(FieldCheckpoints, AScreenJumpOpensItsScreenWithItsModelsPauseAndStart) {
    graph.ui("over");
    graph.link("world", "Over", "over");
    auto next = graph.scene("world2");
    graph.link("world", "Next", "world2");
    auto far =
        std::static_pointer_cast<KXModelLevelSection>(kxtest::ScreenGraph::make("KXModelLevelSection"));
    far->widthAttribute()->setValue(800.0f, true);
    next->addChild(far, true);
    auto heroAsset =
        std::static_pointer_cast<KXModelAssetCharacter>(kxtest::ScreenGraph::make("KXModelAssetCharacter"));
    heroAsset->setCollisionBox(CCSize(30.0f, 60.0f), CCPointZero);
    auto heroModel = std::static_pointer_cast<KXModelObjectAssetCharacter>(
        kxtest::ScreenGraph::make("KXModelObjectAssetCharacter"));
    heroModel->setAsset(heroAsset);
    open();
    // Held by the test alone, off the layer, whatever the test's end.
    struct Held {
        KXPObjectAssetCharacter* object;
        ~Held() { object->release(); }
    } held{new KXPObjectAssetCharacter(heroModel)};
    KXPObjectAssetCharacter* hero = held.object;

    // Touched by the hero, and run for a frame, in which the jump acts.
    auto touch = [this, hero](const std::string& name, bool pause, const std::string& function) {
        auto model = std::static_pointer_cast<KXModelObjectScreenJump>(
            kxtest::ScreenGraph::make("KXModelObjectScreenJump", name));
        attributeOf<KXAttributeBool>(*model, "Pause Current World")->setValue(pause, true);
        attributeOf<KXAttributeStringList>(*model, "Function")->setValue(function, true);
        KXPObjectAsset* jump = KXPObjectAsset::create(model);
        ASSERT_NE(jump, nullptr);
        layer()->addChild(jump);
        jump->setObjectLayer(layer());
        jump->addToWorld(field->getWorld(), true);
        // Only a running game updates its objects.
        field->setPaused(false);
        jump->beginContact(hero, nullptr, true);
        run(1);
    };
    for (const bool pause : {true, false}) {
        touch("Over", pause, "kNone");
        EXPECT_EQ(KXPScreensController::shared()->currentUiKey(), "over");
        EXPECT_EQ(field->isPaused(), pause);
    }
    for (const bool fromCheckpoint : {true, false}) {
        if (field->getSceneModel()->key() != "world") {
            ASSERT_EQ(KXPScreensController::shared()->showScreens("world", "hud", 0),
                      KXPScreensController::kNewScene);
            director()->replaceScene(KXPScreensController::shared()->currentScene());
            frames(2);
            field = dynamic_cast<KXPScreenScene*>(director()->getRunningScene()->getChildByTag(0));
            ASSERT_NE(field, nullptr);
        }
        KXPCheckpointRecord& record = checkpointRecord("world2");
        record.levelSectionId = static_cast<int32_t>(far->id());
        touch("Next", false, fromCheckpoint ? "kStartCheckpointJump" : "kNone");
        frames(2);
        field = dynamic_cast<KXPScreenScene*>(director()->getRunningScene()->getChildByTag(0));
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(field->getSceneModel()->key(), "world2");
        EXPECT_EQ(checkpointRecord("world2").levelSectionId,
                  fromCheckpoint ? static_cast<int32_t>(far->id()) : -1)
            << fromCheckpoint;
    }
}

TEST_F(FieldCheckpoints, ARestartClearsAFieldWhoseObjectsTakeOthersAlong) {
    open();
    for (int index = 0; index < 3; ++index) {
        new SiblingOwner(layer());
    }
    BodyObject* ball =
        BodyObject::create(field->getWorld(), CCPoint(100.0f, 100.0f), 10.0f, KXPObject::kTypeUnit);
    layer()->addChild(ball);
    // The layer's reference is the only one left (the ball is held to be asked afterwards).
    frames(1);
    ball->retain();
    field->restartLevel(nullptr);
    EXPECT_EQ(ball->getParent(), nullptr);
    ball->release();
    CCArray* children = layer()->getChildren();
    for (unsigned int index = 0; children != nullptr && index < children->count(); ++index) {
        EXPECT_EQ(dynamic_cast<SiblingOwner*>(children->objectAtIndex(index)), nullptr);
    }
}

// A level restarted again and again (a restart powerup taken over and over) makes its characters
// again each time, the selected one as a copy showing its asset, each with a gun and its bullet:
// what a rebuild makes for them goes with them, so the model store stays as the first build left
// it, and a walk of it costs no more for every restart.
TEST_F(FieldCheckpoints, RestartsLeaveTheModelStoreAsTheFirstBuildLeftIt) {
    auto opening = section("opening", 800.0f, true);
    auto bulletPicture =
        std::static_pointer_cast<KXModelObjectImage>(kxtest::ScreenGraph::make("KXModelObjectImage"));
    bulletPicture->setImage(std::static_pointer_cast<KXModelSpriteContainer>(
        kxtest::ScreenGraph::make("KXModelSpriteContainer")));
    auto bullet =
        std::static_pointer_cast<KXModelAnimation>(kxtest::ScreenGraph::make("KXModelAnimation", "Pellet"));
    bullet->addChild(bulletPicture, true);
    auto damage =
        std::static_pointer_cast<KXModelComponentDamage>(kxtest::ScreenGraph::make("KXModelComponentDamage"));
    std::vector<std::shared_ptr<KXModelAssetCharacter>> assets;
    for (const char* name : {"Placed", "Chosen"}) {
        auto asset = std::static_pointer_cast<KXModelAssetCharacter>(
            kxtest::ScreenGraph::make("KXModelAssetCharacter", name));
        asset->setCollisionBox(CCSize(40.0f, 40.0f), CCPointZero);
        asset->bulletAnimationAttribute()->setValue(bullet, true);
        asset->addChild(damage, true);
        assets.push_back(asset);
    }
    auto placed = std::static_pointer_cast<KXModelObjectAssetCharacter>(
        kxtest::ScreenGraph::make("KXModelObjectAssetCharacter", "Hero"));
    placed->setAsset(assets.front());
    placed->positionAttribute()->setValue(CCPoint(200.0f, 200.0f), true);
    // A component of its own, which the copy showing the chosen asset clones.
    placed->addChild(kxtest::ScreenGraph::make("KXModelComponentDamage"), true);
    opening->addChild(placed, true);
    const KXModelController& store = *KXModelController::shared();

    open();
    for (int selected : {0, 1}) {
        KXPSettingsController::shared()->setSelectedCharacter(selected);
        field->restartLevel(nullptr);
        frames(1);
        ASSERT_EQ(field->getInputController()->characters().size(), 1u) << selected;
        auto* hero = dynamic_cast<KXPObjectAssetCharacter*>(
            field->getInputController()->characters().front()->characterObject());
        ASSERT_NE(hero, nullptr);
        ASSERT_NE(hero->shooter(), nullptr) << "the rebuild made a gun";
        EXPECT_EQ(modelCast<KXModelObjectAssetCharacter>(hero->getModel())->asset(), assets[selected]);
        const size_t built = store.modelsById().size();
        for (int restart = 1; restart <= 20; ++restart) {
            field->restartLevel(nullptr);
            frames(1);
            ASSERT_EQ(field->getInputController()->characters().size(), 1u);
            ASSERT_EQ(store.modelsById().size(), built) << "selected " << selected << ", restart " << restart;
        }
    }
}
