// The game field's level: which section is laid next (eligibility, cooldowns counted down while
// none qualifies, the random pick), where sections go, their objects made twenty models per call
// with the queue turning between sections, the linkers (joints, motors, attachments, a powerup
// that did not appear), the removal area at its edges also turned with the gameplay angle, and
// copies placed at a destination's transform.

#include "model/KXDebugLog.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelAssetCharacter.h"
#include "model/classes/KXModelAssetPowerup.h"
#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelLinker.h"
#include "model/classes/KXModelObjectAssetCharacter.h"
#include "model/classes/KXModelObjectAssetPowerup.h"
#include "model/classes/KXModelObjectButton.h"
#include "model/classes/KXModelObjectGroup.h"
#include "model/classes/KXModelObjectLabel.h"
#include "model/classes/KXModelObjectParticles.h"
#include "model/classes/KXModelQueries.h"
#include "model/classes/KXModelScreenScene.h"
#include "player/app/KXPScreensController.h"
#include "player/base/KXPGameplaySettings.h"
#include "player/base/KXPTransformParts.h"
#include "player/field/KXPDeletionArea.h"
#include "player/field/KXPGameFieldCamera.h"
#include "player/field/KXPScreenScene.h"
#include "player/input/KXPInputController.h"
#include "player/objects/KXPObjectGroup.h"
#include "player/objects/assets/KXPObjectAsset.h"
#include "player/objects/buttons/KXPObjectButton.h"
#include "player/physics/KXPBodyMass.h"
#include "player/physics/KXPBodyMotion.h"
#include "player/physics/KXPStepBudget.h"
#include "player/store/KXPCheckpointTable.h"
#include "player/store/KXPScoreTable.h"
#include "support/effect_test_support.h"
#include "support/model_class_helpers.h"
#include "support/model_test_models.h"
#include "support/scene_test_support.h"
#include "support/state_guards.h"
#include "support/trace_lines.h"
#include "support/unit_test_support.h"

#include "cocos2d.h"

#include <gtest/gtest.h>

#include <limits>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

using namespace cocos2d;

namespace {

constexpr const char* kWorld = "streaming-test";

size_t countLines(const KXDebugLogCapture& log, const std::string& line) {
    return static_cast<size_t>(std::count(log.lines().begin(), log.lines().end(), line));
}

class LevelStreaming : public kxtest::SceneTest {
protected:
    std::shared_ptr<KXModelScreenScene> model;
    KXPScreenScene* scene = nullptr;
    KXPGameplaySettings* gameplay = nullptr;

    void SetUp() override {
        kxtest::SceneTest::SetUp();
        resetModelCore();
        clearScores();
        KXPScreensController::shared()->reset();
        KXPScreensController::shared()->setCurrentSceneKey(kWorld);
        model = KXBaseModelScreenScene::findOrCreateByKey(kWorld);
        model->gravityAttribute()->setValue(CCPointZero, true);
    }
    void TearDown() override {
        kxtest::SceneTest::TearDown();
        if (scene != nullptr) {
            scene->release();
        }
        KXPInputController::purgeShared();
        KXPScreensController::shared()->reset();
        clearScores();
        resetModelCore();
    }

    // The field over the sections added so far; the camera stands still.
    void make() {
        scene = KXPScreenScene::create();
        ASSERT_NE(scene, nullptr);
        scene->retain();
        gameplay = KXPGameplaySettings::shared();
        gameplay->setGameSpeedMin(0.0f);
        gameplay->setGameSpeedMax(0.0f);
        gameplay->setGameSpeed(0.0f);
        gameplay->setGameplayAngleDirection(0.0f);
    }
    std::shared_ptr<KXModelLevelSection> section(const std::string& name, float start = 0.0f,
                                                 float end = -1.0f, float width = 500.0f) {
        auto made = createModel<KXModelLevelSection>();
        made->setName(name);
        made->startDistanceAttribute()->setValue(start, true);
        made->endDistanceAttribute()->setValue(end, true);
        made->widthAttribute()->setValue(width, true);
        model->addChild(made, true);
        return made;
    }
    // A section object the factory makes without media: particles without emitters.
    static std::shared_ptr<KXModelObjectParticles> particles(KXModelLevelSection& into, CCPoint position,
                                                             bool hidden = false) {
        auto made = createModel<KXModelObjectParticles>();
        made->positionAttribute()->setValue(position, true);
        made->hiddenAttribute()->setValue(hidden, true);
        into.addChild(made, true);
        return made;
    }
    static std::shared_ptr<KXModelLinker> link(KXModelLevelSection& into,
                                               const std::shared_ptr<KXModelObject>& a,
                                               const std::shared_ptr<KXModelObject>& b, float speed = 0.0f,
                                               bool button = false) {
        auto linker = createModel<KXModelLinker>();
        linker->setObjects(a, b, true);
        linker->speedAttribute()->setValue(speed, true);
        linker->buttonActivatedAttribute()->setValue(button, true);
        into.addChild(linker, true);
        return linker;
    }
    // The object layer's nodes made for that model.
    std::vector<CCNode*> nodesOf(const std::shared_ptr<KXModel>& of) const {
        std::vector<CCNode*> found;
        CCObject* item = nullptr;
        CCARRAY_FOREACH(scene->getObjectLayer()->getChildren(), item) {
            CCNode* node = static_cast<CCNode*>(item);
            if (node->getTag() == static_cast<int>(of->id())) {
                found.push_back(node);
            }
        }
        return found;
    }
    std::vector<std::string> chosenNames(float distance, int count) {
        std::vector<std::string> names;
        for (int pick = 0; pick < count; ++pick) {
            const auto chosen = scene->chooseNextLevelSection(distance);
            names.push_back(chosen ? chosen->name() : "-");
        }
        return names;
    }
};

TEST_F(LevelStreaming, SectionsQualifyByTheirRangeAndFlags) {
    section("opening", 0.0f, -1.0f)->initSectionAttribute()->setValue(true, true);
    section("muted", 0.0f, -1.0f)->mutedAttribute()->setValue(true, true);
    section("early", 0.0f, 1000.0f);
    section("late", 1000.0f, -1.0f);
    auto solo = section("solo", 5000.0f, 6000.0f);
    solo->soloAttribute()->setValue(true, true);
    make();
    // Indices into the section list: opening 0, muted 1, early 2, late 3, solo 4.
    EXPECT_EQ(scene->eligibleLevelSections(0.0f, true), (std::vector<size_t>{2, 4}));
    EXPECT_EQ(scene->eligibleLevelSections(999.0f, true), (std::vector<size_t>{2, 4}));
    // The end is not part of the range; an end below 0 never closes it.
    EXPECT_EQ(scene->eligibleLevelSections(1000.0f, true), (std::vector<size_t>{3, 4}));
    EXPECT_EQ(scene->eligibleLevelSections(1.0e7f, true), (std::vector<size_t>{3, 4}));
    EXPECT_EQ(scene->eligibleLevelSections(-1.0f, true), (std::vector<size_t>{4}));
}

TEST_F(LevelStreaming, AChosenSectionCoolsDownAndCooldownsRunOutOnlyWhileNoneQualifies) {
    auto a = section("a");
    auto b = section("b", 100.0f);
    a->playCooldownAttribute()->setValue(2.7f, true);
    make();
    EXPECT_EQ(scene->chooseNextLevelSection(0.0f), a);
    // "Play Cooldown" taken whole.
    EXPECT_EQ(a->cooldownCounter(), 2);
    // While b qualifies a waits, and its cooldown does not run out.
    b->startDistanceAttribute()->setValue(0.0f, true);
    EXPECT_EQ(chosenNames(0.0f, 4), (std::vector<std::string>{"b", "b", "b", "b"}));
    EXPECT_EQ(a->cooldownCounter(), 2);
    // With b out of range nothing qualifies at first: cooldowns count down until a does.
    b->startDistanceAttribute()->setValue(100.0f, true);
    EXPECT_EQ(scene->chooseNextLevelSection(0.0f), a);
    EXPECT_EQ(a->cooldownCounter(), 2);
}

TEST_F(LevelStreaming, TheRandomPickFollowsRandAmongTheEligible) {
    for (const char* name : {"a", "b", "c"}) {
        section(name);
    }
    make();
    std::srand(42);
    const std::vector<std::string> picked = chosenNames(0.0f, 12);
    std::srand(42);
    std::vector<std::string> expected;
    const char* names[] = {"a", "b", "c"};
    for (int pick = 0; pick < 12; ++pick) {
        expected.push_back(names[std::rand() % 3]);
    }
    EXPECT_EQ(picked, expected);
}

TEST_F(LevelStreaming, WithNothingQualifyingTwentyOnePassesAreTriedAndNothingIsLaid) {
    auto opening = section("opening", 0.0f, -1.0f, 100.0f);
    opening->initSectionAttribute()->setValue(true, true);
    auto stuck = section("stuck");
    make();
    stuck->setCooldownCounter(100);
    // The restore counts down once, lays the opening and tries to catch up: 21 passes, nothing.
    scene->restoreFromCheckpoint();
    EXPECT_EQ(stuck->cooldownCounter(), 100 - 1 - 21);
    EXPECT_EQ(scene->getLaidDistance(), 100.0f);
    EXPECT_TRUE(scene->getCreationQueue().empty());
    // Each fixed step asks again.
    scene->update(1.0f / 60.0f);
    EXPECT_EQ(stuck->cooldownCounter(), 100 - 1 - 42);
    EXPECT_EQ(scene->getLaidDistance(), 100.0f);
    // Until the section qualifies again.
    stuck->setCooldownCounter(21);
    scene->update(1.0f / 60.0f);
    EXPECT_EQ(scene->getLaidDistance(), 600.0f);
}

TEST_F(LevelStreaming, TheFirstSectionOpensTheLevelWhateverItsFlagsAndLaterOnesFollowEndToEnd) {
    auto first = section("first", 0.0f, -1.0f, 700.0f);
    first->mutedAttribute()->setValue(true, true);
    first->initSectionAttribute()->setValue(true, true);
    particles(*first, CCPoint(10.0f, 20.0f));
    auto next = section("next", 0.0f, -1.0f, 400.0f);
    auto node = particles(*next, CCPoint(10.0f, 20.0f));
    make();
    KXDebugLogCapture log;
    scene->restoreFromCheckpoint();
    EXPECT_EQ(KXPScreensController::shared()->currentLevelSectionId(), first->id());
    // 700, then the catch-up to the camera's 1400: 1100 and 1500.
    EXPECT_EQ(scene->getLaidDistance(), 1500.0f);
    EXPECT_EQ(first->placedDistance(), 0.0f);
    EXPECT_EQ(next->placedDistance(), 1100.0f);
    EXPECT_TRUE(scene->getCreationQueue().empty());
    const std::vector<CCNode*> copies = nodesOf(node);
    ASSERT_EQ(copies.size(), 2u);
    EXPECT_TRUE(copies[0]->getPosition().equals(CCPoint(710.0f, 20.0f)));
    EXPECT_TRUE(copies[1]->getPosition().equals(CCPoint(1110.0f, 20.0f)));
    EXPECT_EQ(countLines(log, "add level section: " + std::to_string(next->id())), 2u);
}

TEST_F(LevelStreaming, FortyFiveModelsTakeThreeCallsAndHiddenOnesCountWithoutAnObject) {
    auto big = section("big");
    for (int index = 0; index < 45; ++index) {
        particles(*big, CCPoint(static_cast<float>(index), 0.0f), index % 9 == 0);
    }
    make();
    scene->addLevelSection(big, 0.0f);
    const unsigned int before = scene->getObjectLayer()->getChildrenCount();
    EXPECT_FALSE(scene->instantiateQueuedObjects());
    EXPECT_EQ(scene->getObjectLayer()->getChildrenCount() - before, 20u - 3u);
    EXPECT_FALSE(scene->instantiateQueuedObjects());
    EXPECT_EQ(scene->getObjectLayer()->getChildrenCount() - before, 40u - 5u);
    EXPECT_TRUE(scene->instantiateQueuedObjects());
    EXPECT_EQ(scene->getObjectLayer()->getChildrenCount() - before, 45u - 5u);
    EXPECT_TRUE(scene->getCreationQueue().empty());
    // Nothing more to do.
    EXPECT_TRUE(scene->instantiateQueuedObjects());
}

// A section's character is the player's only in the section the level started from.
TEST_F(LevelStreaming, ACharacterOfAnotherSectionThanTheStartingOneNeverReachesTheLayer) {
    auto start = section("start");
    auto later = section("later");
    auto asset = createModel<KXModelAssetCharacter>();
    asset->setCollisionBox(CCSize(30.0f, 60.0f), CCPointZero);
    for (const auto& into : {start, later}) {
        auto placed = createModel<KXModelObjectAssetCharacter>();
        placed->setAsset(asset);
        into->addChild(placed, true);
    }
    KXPScreensController::shared()->setCurrentLevelSectionId(start->id());
    make();
    auto characters = [this] {
        std::vector<KXPObjectAsset*> found;
        CCObject* item = nullptr;
        CCARRAY_FOREACH(scene->getObjectLayer()->getChildren(), item) {
            auto* object = dynamic_cast<KXPObjectAsset*>(item);
            if (object != nullptr && (object->getType() & KXPObject::kTypeCharacter) != 0) {
                found.push_back(object);
            }
        }
        return found;
    };
    scene->addLevelSection(later, 0.0f);
    EXPECT_TRUE(scene->instantiateQueuedObjects());
    EXPECT_TRUE(characters().empty());
    EXPECT_TRUE(KXPInputController::shared()->characters().empty());

    scene->addLevelSection(start, 500.0f);
    EXPECT_TRUE(scene->instantiateQueuedObjects());
    ASSERT_EQ(characters().size(), 1u);
    EXPECT_EQ(characters().front()->levelSectionId(), start->id());
    EXPECT_EQ(KXPInputController::shared()->characters().size(), 1u);
}

TEST_F(LevelStreaming, ALevelsButtonIsMadeEveryTimeItsSectionIsLaidWhateverItsInterval) {
    kxtest::MediaFolder media;
    ASSERT_TRUE(media.entered());
    auto room = section("room");
    auto lever = createModel<KXModelObjectButton>();
    lever->intervalAttribute()->setValue(2.0f, true);
    lever->positionAttribute()->setValue(CCPoint(40.0f, 60.0f), true);
    lever->setImage(media.solidPicture(30, 20, kxtest::Rgba{200, 40, 40, 255}));
    lever->imageSelectedAttribute()->setValue(media.solidPicture(50, 50, kxtest::Rgba{40, 200, 40, 255}),
                                              true);
    room->addChild(lever, true);
    auto bare = createModel<KXModelObjectButton>();
    room->addChild(bare, true);
    make();
    for (int laying = 0; laying < 3; ++laying) {
        scene->addLevelSection(room, 500.0f * static_cast<float>(laying));
        EXPECT_TRUE(scene->instantiateQueuedObjects());
    }
    std::vector<KXPObjectButton*> buttons;
    std::vector<KXPObjectButton*> bareButtons;
    CCObject* item = nullptr;
    CCARRAY_FOREACH(scene->getObjectLayer()->getChildren(), item) {
        CCNode* menu = static_cast<CCNode*>(item);
        if (menu->getTag() != KXPScreen::kButtonMenuTag || menu->getChildrenCount() != 1) {
            continue;
        }
        if (auto* button = dynamic_cast<KXPObjectButton*>(menu->getChildren()->objectAtIndex(0))) {
            (button->getModel() == bare ? bareButtons : buttons).push_back(button);
        }
    }
    ASSERT_EQ(buttons.size(), 3u);
    EXPECT_EQ(bareButtons.size(), 3u);
    for (KXPObjectButton* button : buttons) {
        EXPECT_EQ(button->getModel(), lever);
        // Where the model puts it, not where its section was laid.
        EXPECT_TRUE(button->getPosition().equals(CCPoint(40.0f, 60.0f)));
        // Its picture, and that picture darkened when pressed and when disabled: the model's
        // own pressed picture is not used here.
        auto* normal = dynamic_cast<CCSprite*>(button->getNormalImage());
        auto* selected = dynamic_cast<CCSprite*>(button->getSelectedImage());
        auto* disabled = dynamic_cast<CCSprite*>(button->getDisabledImage());
        ASSERT_TRUE(normal != nullptr && selected != nullptr && disabled != nullptr);
        ASSERT_NE(normal->getTexture(), nullptr);
        EXPECT_TRUE(normal->getContentSize().equals(CCSize(30.0f, 20.0f)));
        for (CCSprite* darker : {selected, disabled}) {
            EXPECT_NE(darker, normal);
            EXPECT_EQ(darker->getTexture(), normal->getTexture());
            EXPECT_TRUE(darker->getContentSize().equals(CCSize(30.0f, 20.0f)));
        }
        EXPECT_EQ(normal->getColor().r, 255);
        EXPECT_EQ(selected->getColor().r, KXPObjectButton::kSelectedTint);
        EXPECT_EQ(disabled->getColor().r, KXPObjectButton::kDisabledTint);
    }
    // Without a picture: a clear touch area of 100 x 100, and nothing else.
    for (KXPObjectButton* button : bareButtons) {
        ASSERT_NE(button->getNormalImage(), nullptr);
        EXPECT_TRUE(button->getNormalImage()->getContentSize().equals(CCSize(100.0f, 100.0f)));
        EXPECT_EQ(button->getSelectedImage(), nullptr);
        EXPECT_EQ(button->getDisabledImage(), nullptr);
    }
}

TEST_F(LevelStreaming, TwoQueuedSectionsAreFilledInTurnAndObjectsAwaitTheirSectionsEnd) {
    auto first = section("first");
    auto second = section("second");
    for (int index = 0; index < 25; ++index) {
        particles(*first, CCPointZero);
        particles(*second, CCPointZero);
    }
    make();
    scene->addLevelSection(first, 0.0f);
    scene->addLevelSection(second, 500.0f);
    auto madeFor = [this](const std::shared_ptr<KXModelLevelSection>& of) {
        std::vector<KXPObject*> made;
        for (const auto& object : of->objects()) {
            for (CCNode* node : nodesOf(object)) {
                made.push_back(dynamic_cast<KXPObject*>(node));
            }
        }
        return made;
    };
    EXPECT_FALSE(scene->instantiateQueuedObjects());
    EXPECT_EQ(scene->getCreationQueue().front().section, second);
    EXPECT_FALSE(scene->instantiateQueuedObjects());
    EXPECT_EQ(madeFor(first).size(), 20u);
    EXPECT_EQ(madeFor(second).size(), 20u);
    // Until its section is complete an object's control is off.
    for (KXPObject* object : madeFor(first)) {
        EXPECT_FALSE(object->isControlActive());
    }
    EXPECT_TRUE(scene->instantiateQueuedObjects());
    EXPECT_EQ(madeFor(first).size(), 25u);
    for (KXPObject* object : madeFor(first)) {
        EXPECT_TRUE(object->isControlActive());
    }
    EXPECT_FALSE(madeFor(second).front()->isControlActive());
    EXPECT_TRUE(scene->instantiateQueuedObjects());
    EXPECT_TRUE(madeFor(second).back()->isControlActive());
    EXPECT_TRUE(scene->getCreationQueue().empty());
}

TEST_F(LevelStreaming, DamagedLinkersThatJoinAnObjectToItselfOrCloseALoopAreLeftOut) {
    auto level = section("looped");
    auto gun = kxtest::unitModel("Gun", "kPhysicsObjectType");
    kxtest::addSpawner(*gun, "kPermanentSpawning", 100.0f);
    auto other = kxtest::unitModel("Other Gun", "kPhysicsObjectType");
    kxtest::addSpawner(*other, "kPermanentSpawning", 100.0f);
    auto wheel = kxtest::unitModel("Wheel", "kPhysicsObjectType");
    for (const std::shared_ptr<KXModelObject>& object :
         std::vector<std::shared_ptr<KXModelObject>>{gun, other, wheel}) {
        level->addChild(object, true);
    }
    link(*level, gun, gun);     // rides under itself
    link(*level, gun, other);   // other rides under gun ...
    link(*level, other, gun);   // ... and gun under other: a loop
    link(*level, wheel, wheel); // a joint of a body with itself
    make();
    scene->addLevelSection(level, 0.0f);
    KXDebugLogCapture log;
    EXPECT_TRUE(scene->instantiateQueuedObjects());
    EXPECT_EQ(std::count_if(log.lines().begin(), log.lines().end(),
                            [](const std::string& line) {
                                return line.find("would join an object to itself") != std::string::npos;
                            }),
              3);
    const std::vector<CCNode*> guns = nodesOf(gun);
    ASSERT_EQ(guns.size(), 1u);
    EXPECT_EQ(guns.front()->getParent(), scene->getObjectLayer());
    const std::vector<CCNode*> wheels = nodesOf(wheel);
    ASSERT_EQ(wheels.size(), 1u);
    EXPECT_EQ(dynamic_cast<KXPObject*>(wheels.front())->getBody()->GetJointList(), nullptr);
}

TEST_F(LevelStreaming, LinkersJoinBodiesWithMotorsOrAttachWhatCannotBeJoined) {
    auto level = section("linked");
    auto wheel = kxtest::unitModel("Wheel", "kPhysicsObjectType");
    auto axle = kxtest::unitModel("Axle", "kPhysicsObjectType");
    auto driven = kxtest::unitModel("Driven", "kPhysicsObjectType");
    auto pressed = kxtest::unitModel("Pressed", "kPhysicsObjectType");
    auto gun = kxtest::unitModel("Gun", "kPhysicsObjectType");
    kxtest::addSpawner(*gun, "kPermanentSpawning", 100.0f);
    auto label = createModel<KXModelObjectLabel>();
    wheel->positionAttribute()->setValue(CCPoint(100.0f, 100.0f), true);
    axle->positionAttribute()->setValue(CCPoint(140.0f, 100.0f), true);
    driven->positionAttribute()->setValue(CCPoint(300.0f, 100.0f), true);
    pressed->positionAttribute()->setValue(CCPoint(400.0f, 100.0f), true);
    gun->positionAttribute()->setValue(CCPoint(130.0f, 160.0f), true);
    for (const std::shared_ptr<KXModelObject>& object :
         std::vector<std::shared_ptr<KXModelObject>>{wheel, axle, driven, pressed, gun, label}) {
        level->addChild(object, true);
    }
    link(*level, wheel, axle);                 // a joint without motor
    link(*level, axle, driven, 2.5f);          // a turning motor
    link(*level, driven, pressed, 1.0f, true); // driven by actions 9 and 10
    link(*level, wheel, label);                // a text rides along
    link(*level, wheel, gun);                  // so does a spawner
    make();
    scene->addLevelSection(level, 0.0f);
    KXDebugLogCapture log;
    EXPECT_TRUE(scene->instantiateQueuedObjects());

    auto object = [this](const std::shared_ptr<KXModel>& of) -> KXPObject* {
        const std::vector<CCNode*> nodes = nodesOf(of);
        return nodes.empty() ? nullptr : dynamic_cast<KXPObject*>(nodes.front());
    };
    auto jointBetween = [&object](const std::shared_ptr<KXModel>& a,
                                  const std::shared_ptr<KXModel>& b) -> b2RevoluteJoint* {
        for (b2JointEdge* edge = object(a)->getBody()->GetJointList(); edge != nullptr; edge = edge->next) {
            if (edge->other == object(b)->getBody()) {
                return static_cast<b2RevoluteJoint*>(edge->joint);
            }
        }
        return nullptr;
    };
    ASSERT_NE(object(wheel), nullptr);
    b2RevoluteJoint* free = jointBetween(wheel, axle);
    ASSERT_NE(free, nullptr);
    EXPECT_FALSE(free->IsMotorEnabled());
    EXPECT_NEAR(free->GetAnchorA().x, 140.0f * 0.05f, 1e-4f);
    b2RevoluteJoint* motor = jointBetween(axle, driven);
    ASSERT_NE(motor, nullptr);
    EXPECT_TRUE(motor->IsMotorEnabled());
    EXPECT_FLOAT_EQ(motor->GetMotorSpeed(), -2.5f);
    ASSERT_NE(jointBetween(driven, pressed), nullptr);
    EXPECT_TRUE(jointBetween(driven, pressed)->IsMotorEnabled());
    EXPECT_EQ(scene->getInputController()->motorCount(), 1u);
    EXPECT_EQ(countLines(log, "Created motor at: 140.000000 100.000000"), 1u);

    // The text and the spawner now hang under the wheel where they stood; only the asset is
    // marked attached.
    KXPObject* text = nullptr;
    KXPObjectAsset* spawner = nullptr;
    CCObject* item = nullptr;
    CCARRAY_FOREACH(object(wheel)->getChildren(), item) {
        CCNode* child = static_cast<CCNode*>(item);
        if (child->getTag() == static_cast<int>(label->id())) {
            text = dynamic_cast<KXPObject*>(child);
        } else if (child->getTag() == static_cast<int>(gun->id())) {
            spawner = dynamic_cast<KXPObjectAsset*>(child);
        }
    }
    ASSERT_NE(text, nullptr);
    ASSERT_NE(spawner, nullptr);
    EXPECT_TRUE(spawner->isAttached());
    EXPECT_TRUE(spawner->getBody() == nullptr || spawner->getBody()->GetJointList() == nullptr);
    const CCPoint shown = CCPointApplyAffineTransform(CCPointZero, spawner->nodeToWorldTransform());
    EXPECT_NEAR(shown.x, 130.0f, 1e-3f);
    EXPECT_NEAR(shown.y, 160.0f, 1e-3f);
}

TEST_F(LevelStreaming, APowerupThatDidNotAppearTakesItsLinkedObjectAlong) {
    auto level = section("bonus");
    auto powerup = createModel<KXModelObjectAssetPowerup>();
    level->addChild(powerup, true);
    auto sparkle = particles(*level, CCPointZero);
    auto other = particles(*level, CCPointZero);
    link(*level, powerup, sparkle);
    make();
    scene->addLevelSection(level, 0.0f);
    // Without a chance of its own (0) one draw in a hundred still shows the powerup; this seed's
    // first draw does not, whatever ran before.
    std::srand(1);
    EXPECT_TRUE(scene->instantiateQueuedObjects());
    EXPECT_TRUE(nodesOf(powerup).empty());
    EXPECT_TRUE(nodesOf(sparkle).empty());
    EXPECT_EQ(nodesOf(other).size(), 1u);
}

// What hangs on a powerup that did not appear goes with it, also when a button-run motor joins it
// to a wheel: its joint goes when it is freed, at the end of the frame, and so does the motor.
TEST_F(LevelStreaming, AMotorGoesWithTheJointOfWhatGoesWithAPowerupThatDidNotAppear) {
    auto level = section("bonus");
    auto powerup = createModel<KXModelObjectAssetPowerup>();
    auto hanging = kxtest::unitModel("Hanging", "kPhysicsObjectType");
    auto wheel = kxtest::unitModel("Wheel", "kPhysicsObjectType");
    hanging->positionAttribute()->setValue(CCPoint(100.0f, 100.0f), true);
    wheel->positionAttribute()->setValue(CCPoint(160.0f, 100.0f), true);
    for (const std::shared_ptr<KXModelObject>& object :
         std::vector<std::shared_ptr<KXModelObject>>{powerup, hanging, wheel}) {
        level->addChild(object, true);
    }
    link(*level, hanging, wheel, 1.0f, true); // turned by actions 9 and 10
    link(*level, powerup, hanging);
    make();
    scene->addLevelSection(level, 0.0f);
    // This seed's first draw does not show the powerup (see above).
    std::srand(1);
    EXPECT_TRUE(scene->instantiateQueuedObjects());
    ASSERT_TRUE(nodesOf(powerup).empty());
    EXPECT_TRUE(nodesOf(hanging).empty());
    ASSERT_EQ(nodesOf(wheel).size(), 1u);
    CCPoolManager::sharedPoolManager()->pop();
    EXPECT_EQ(scene->getInputController()->motorCount(), 0u);
    scene->getInputController()->actionPressed(KXPInputController::kActionMotorClockwise, nullptr);
    scene->getInputController()->actionReleased(KXPInputController::kActionMotorClockwise, nullptr);
}

// Rebuilds the level the first time a new effect asks it for its particle budget, as the objects
// of a section are made: a rebuild coming while a section is being made.
class RebuildingField : public KXPScreenScene {
public:
    std::shared_ptr<KXPParticleBudget> particleBudget() override {
        if (rebuildOnce) {
            rebuildOnce = false;
            restartLevel(nullptr);
        }
        return KXPScreenScene::particleBudget();
    }
    bool rebuildOnce = false;
};

// The rebuild lets go of the creation queue and lays the level anew: the section being made is
// not made further, nor twice.
TEST_F(LevelStreaming, ARebuildWhileASectionIsMadeLeavesTheLevelToTheRebuild) {
    // Wider than the camera's reach: the rebuild lays it once.
    auto level = section("only", 0.0f, -1.0f, 2000.0f);
    auto first = particles(*level, CCPoint(100.0f, 100.0f));
    auto second = particles(*level, CCPoint(200.0f, 100.0f));
    auto* field = new RebuildingField();
    ASSERT_TRUE(field->init());
    scene = field;
    gameplay = KXPGameplaySettings::shared();
    gameplay->setGameSpeedMin(0.0f);
    gameplay->setGameSpeedMax(0.0f);
    gameplay->setGameSpeed(0.0f);
    scene->addLevelSection(level, 0.0f);
    field->rebuildOnce = true;
    EXPECT_TRUE(scene->instantiateQueuedObjects());
    EXPECT_FALSE(field->rebuildOnce);
    EXPECT_EQ(nodesOf(first).size(), 1u);
    EXPECT_EQ(nodesOf(second).size(), 1u);
    EXPECT_TRUE(scene->getCreationQueue().empty());
}

TEST_F(LevelStreaming, TheCheckpointReachedIsNotLaidAgainWhenItsRecordedPlaceIsOffInTheLastBits) {
    auto beacon = createModel<KXModelAssetPowerup>();
    beacon->powerupTypeAttribute()->setValue("kPowerupCheckpoint", true);
    beacon->appearanceChanceAttribute()->setValue(100.0f, true);
    auto reach = section("reach");
    const auto checkpoint = [&](const char* name, float x) {
        auto placed = createModel<KXModelObjectAssetPowerup>();
        placed->setName(name);
        placed->setAsset(beacon);
        placed->positionAttribute()->setValue(CCPoint(x, 320.0f), true);
        reach->addChild(placed, true);
        return placed;
    };
    auto reached = checkpoint("reached", 150.0f);
    auto ahead = checkpoint("ahead", 900.0f);
    // The record as a powerup reports its place through the layer's transforms: one float step off.
    checkpointRecord(kWorld).position = CCPoint(std::nextafter(3558.0f, 4000.0f), 320.0f);
    make();
    scene->addLevelSection(reach, 3408.0f);
    EXPECT_TRUE(scene->instantiateQueuedObjects());
    EXPECT_TRUE(nodesOf(reached).empty());
    EXPECT_EQ(nodesOf(ahead).size(), 1u);
    clearCheckpoints();
}

TEST_F(LevelStreaming, TheRemovalAreaHasTheThresholdsBehindAndBesideTheView) {
    // Window 1000 x 500: the back edge at x = 500 - (300 + 500), the side edges at
    // y = 250 -+ (550 + 250).
    const KXPDeletionArea area(0.0f, CCSize(1000.0f, 500.0f), 550.0f, 300.0f, CCPointZero);
    EXPECT_FALSE(area.isLeftBehind(CCRect(-400.0f, 200.0f, 100.0f, 100.0f))); // touches the back edge
    EXPECT_TRUE(area.isLeftBehind(CCRect(-401.0f, 200.0f, 100.0f, 100.0f)));
    EXPECT_FALSE(area.isLeftBehind(CCRect(0.0f, 1050.0f, 100.0f, 100.0f)));
    EXPECT_TRUE(area.isLeftBehind(CCRect(0.0f, 1051.0f, 100.0f, 100.0f)));
    EXPECT_FALSE(area.isLeftBehind(CCRect(0.0f, -650.0f, 100.0f, 100.0f)));
    EXPECT_TRUE(area.isLeftBehind(CCRect(0.0f, -651.0f, 100.0f, 100.0f)));
    // Ahead nothing goes, however far.
    EXPECT_FALSE(area.isLeftBehind(CCRect(100000.0f, 200.0f, 100.0f, 100.0f)));
    // A rectangle without size is still tested.
    EXPECT_TRUE(area.isLeftBehind(CCRect(-5000.0f, 200.0f, 0.0f, 0.0f)));

    // -1 switches a test off but the rectangle keeps its default extent.
    const KXPDeletionArea noBack(0.0f, CCSize(1000.0f, 500.0f), 550.0f, -1.0f, CCPointZero);
    EXPECT_FALSE(noBack.isLeftBehind(CCRect(-5000.0f, 200.0f, 100.0f, 100.0f)));
    EXPECT_TRUE(noBack.isLeftBehind(CCRect(0.0f, 1051.0f, 100.0f, 100.0f)));
    const KXPDeletionArea noSides(0.0f, CCSize(1000.0f, 500.0f), -1.0f, 300.0f, CCPointZero);
    EXPECT_FALSE(noSides.isLeftBehind(CCRect(0.0f, 5000.0f, 100.0f, 100.0f)));
    EXPECT_TRUE(noSides.isLeftBehind(CCRect(-401.0f, 200.0f, 100.0f, 100.0f)));

    // A layer scrolled 2000 to the left: its back edge is at 1700 in the layer.
    const KXPDeletionArea scrolled(0.0f, CCSize(1000.0f, 500.0f), 550.0f, 300.0f, CCPoint(-2000.0f, 0.0f));
    EXPECT_TRUE(scrolled.isLeftBehind(CCRect(1699.0f - 100.0f, 200.0f, 100.0f, 100.0f)));
    EXPECT_FALSE(scrolled.isLeftBehind(CCRect(1700.0f - 100.0f, 200.0f, 100.0f, 100.0f)));
}

TEST_F(LevelStreaming, TurnedDownwardsTheAreaLeavesBehindWhatIsAboveIt) {
    // Gameplay angle 90: the level runs down the screen. The edge behind is the top one (at
    // 250 + 550 + 250), the sides are left and right (at 500 -+ (300 + 500)); below is ahead.
    const KXPDeletionArea area(90.0f, CCSize(1000.0f, 500.0f), 550.0f, 300.0f, CCPointZero);
    EXPECT_FALSE(area.isLeftBehind(CCRect(0.0f, 1049.5f, 100.0f, 100.0f)));
    EXPECT_TRUE(area.isLeftBehind(CCRect(0.0f, 1051.0f, 100.0f, 100.0f)));
    EXPECT_TRUE(area.isLeftBehind(CCRect(-401.0f, 200.0f, 100.0f, 100.0f)));
    EXPECT_TRUE(area.isLeftBehind(CCRect(1301.0f, 200.0f, 100.0f, 100.0f)));
    EXPECT_FALSE(area.isLeftBehind(CCRect(0.0f, -100000.0f, 100.0f, 100.0f)));
    // The back test off keeps what is above; the sides still go.
    const KXPDeletionArea noBack(90.0f, CCSize(1000.0f, 500.0f), 550.0f, -1.0f, CCPointZero);
    EXPECT_FALSE(noBack.isLeftBehind(CCRect(0.0f, 5000.0f, 100.0f, 100.0f)));
    EXPECT_TRUE(noBack.isLeftBehind(CCRect(-401.0f, 200.0f, 100.0f, 100.0f)));
}

TEST_F(LevelStreaming, TheRestoreCatchesUpPastTheQueuesBoundWithNarrowCrowdedSections) {
    auto opening = section("opening", 0.0f, -1.0f, 500.0f);
    opening->initSectionAttribute()->setValue(true, true);
    // Forty models take two making passes and each pass lays forty points: the queue fills long
    // before the level reaches the camera.
    auto crowd = section("crowd", 0.0f, -1.0f, 40.0f);
    for (int index = 0; index < 40; ++index) {
        particles(*crowd, CCPoint(index, 20.0f));
    }
    make();
    scene->restoreFromCheckpoint();
    EXPECT_GE(scene->getLaidDistance(), scene->getCameraDistance());
}

// A pile of bodies of no object (the field's own never go) steps with continuous collision as
// long as its steps' continuous work stays within a frame's, and the level is laid on whatever
// the contacts.
TEST_F(LevelStreaming, APileOfTheFieldsOwnBodiesKeepsContinuousCollisionAndTheLevelGoesOn) {
    auto opening = section("opening", 0.0f, -1.0f, 100.0f);
    opening->initSectionAttribute()->setValue(true, true);
    section("road", 0.0f, -1.0f, 100.0f);
    make();
    scene->restoreFromCheckpoint();
    ASSERT_GE(scene->getLaidDistance(), scene->getCameraDistance());
    scene->getObjectLayer()->setFollowFactor(0.0f);
    gameplay->setGameSpeedMin(300.0f);
    gameplay->setGameSpeedMax(300.0f);
    gameplay->setGameSpeed(300.0f);
    // Discs in one place, sensors so that they stay there: 190 make 17955 contacts.
    b2World* world = scene->getWorld();
    b2CircleShape disc;
    disc.m_radius = 1.0f;
    b2FixtureDef fixture;
    fixture.shape = &disc;
    fixture.isSensor = true;
    for (int index = 0; index < 190; ++index) {
        b2BodyDef definition;
        definition.type = b2_dynamicBody;
        definition.position.Set(-100.0f, -100.0f);
        world->CreateBody(&definition)->CreateFixture(&fixture);
    }
    const float laid = scene->getLaidDistance();
    for (int frame = 0; frame < 10; ++frame) {
        scene->update(1.0f / 60.0f);
    }
    EXPECT_GE(world->GetContactCount(), 17955);
    EXPECT_TRUE(world->GetContinuousPhysics());
    EXPECT_GT(scene->getLaidDistance(), laid);
}

// A crowd held out of the physics does not stop the level: with the camera running on, sections
// are laid while its bodies wait (a crowd that never fits again would otherwise end the level
// where the characters run off its end), every step within the budget.
TEST_F(LevelStreaming, TheLevelGoesOnWhileBodiesWaitOutsideThePhysics) {
    auto opening = section("opening", 0.0f, -1.0f, 100.0f);
    opening->initSectionAttribute()->setValue(true, true);
    for (int index = 0; index < 800; ++index) {
        auto crate = kxtest::unitModel("Crate " + std::to_string(index), "kPhysicsObjectType");
        crate->positionAttribute()->setValue(CCPoint(50.0f, 300.0f), true);
        opening->addChild(crate, true);
    }
    section("road", 0.0f, -1.0f, 100.0f);
    make();
    scene->restoreFromCheckpoint();
    scene->getObjectLayer()->setFollowFactor(0.0f);
    gameplay->setGameSpeedMin(300.0f);
    gameplay->setGameSpeedMax(300.0f);
    gameplay->setGameSpeed(300.0f);
    const KXPStepBudget* budget = KXPStepBudget::of(*scene->getWorld());
    ASSERT_NE(budget, nullptr);
    bool laidWhileHeld = false;
    for (int frame = 0; frame < 60 && !laidWhileHeld; ++frame) {
        const float laid = scene->getLaidDistance();
        const bool held = budget->heldOutCount() > 0;
        scene->update(1.0f / 60.0f);
        EXPECT_LE(budget->predicted().cost(), KXPStepBudget::kMaxWork) << frame;
        laidWhileHeld = held && budget->heldOutCount() > 0 && scene->getLaidDistance() > laid;
    }
    EXPECT_TRUE(laidWhileHeld);
}

// Eight hundred crates placed on one another: their first steps would cost far more than a
// frame, so the newest are held out of the physics where they were placed, said once, and come
// back as the pile spreads, every step within the budget.
TEST_F(LevelStreaming, UnitsPiledPastTheStepsBudgetAreHeldOutWhereTheyStandAndComeBack) {
    auto opening = section("opening", 0.0f, -1.0f, 1000.0f);
    opening->initSectionAttribute()->setValue(true, true);
    std::vector<std::shared_ptr<KXModelObjectAssetUnit>> crates;
    for (int index = 0; index < 800; ++index) {
        crates.push_back(kxtest::unitModel("Crate " + std::to_string(index), "kPhysicsObjectType"));
        crates.back()->positionAttribute()->setValue(CCPoint(300.0f, 300.0f), true);
        opening->addChild(crates.back(), true);
    }
    make();
    kxtest::TraceLines trace("bodies");
    KXDebugLogCapture log;
    scene->restoreFromCheckpoint();
    std::vector<b2Body*> bodies;
    size_t held = 0;
    for (int frame = 0; frame < 600 && (bodies.empty() || held > 0); ++frame) {
        scene->update(1.0f / 60.0f);
        if (bodies.empty() && nodesOf(crates.back()).size() == 1) {
            for (const auto& crate : crates) {
                ASSERT_EQ(nodesOf(crate).size(), 1u);
                bodies.push_back(static_cast<KXPObjectAsset*>(nodesOf(crate).front())->getBody());
                ASSERT_NE(bodies.back(), nullptr);
            }
        }
        held = static_cast<size_t>(
            std::count_if(bodies.begin(), bodies.end(), [](b2Body* body) { return !body->IsEnabled(); }));
        const KXPStepBudget* budget = KXPStepBudget::of(*scene->getWorld());
        ASSERT_NE(budget, nullptr);
        EXPECT_LE(budget->predicted().cost(), KXPStepBudget::kMaxWork) << frame;
        EXPECT_EQ(budget->heldOutCount(), held) << frame;
    }
    EXPECT_EQ(held, 0u);
    const std::vector<std::string> lines = trace.lines();
    const auto heldOut = std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.rfind("bodies held-out name=Crate ", 0) == 0;
    });
    const auto givenBack = std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.rfind("bodies given-back name=Crate ", 0) == 0;
    });
    EXPECT_GT(heldOut, 100);
    EXPECT_EQ(givenBack, heldOut);
    size_t said = 0;
    for (const std::string& line : log.lines()) {
        said += line.find("[KXPStepBudget] the next step would work out") == 0 &&
                        line.find("bodies held out of the physics where they stand, the first Crate ") !=
                            std::string::npos
                    ? 1
                    : 0;
    }
    EXPECT_GE(said, 1u);
}

// Crates made apart and brought together afterwards (as a path or a magnet moves them): sixty at
// one point cost the step a few milliseconds, and every one stays in the physics.
TEST_F(LevelStreaming, UnitsBroughtTogetherWithinTheStepsBudgetStayInThePhysics) {
    auto opening = section("opening", 0.0f, -1.0f, 1000.0f);
    opening->initSectionAttribute()->setValue(true, true);
    std::vector<std::shared_ptr<KXModelObjectAssetUnit>> crates;
    for (int index = 0; index < 60; ++index) {
        crates.push_back(kxtest::unitModel("Crate " + std::to_string(index), "kPhysicsObjectType"));
        crates.back()->positionAttribute()->setValue(CCPoint(100.0f * index, 300.0f), true);
        opening->addChild(crates.back(), true);
    }
    make();
    scene->restoreFromCheckpoint();
    scene->update(1.0f / 60.0f);
    std::vector<b2Body*> bodies;
    for (const auto& crate : crates) {
        const std::vector<CCNode*> nodes = nodesOf(crate);
        ASSERT_EQ(nodes.size(), 1u);
        bodies.push_back(static_cast<KXPObjectAsset*>(nodes.front())->getBody());
        ASSERT_NE(bodies.back(), nullptr);
        // Set moving, as a unit is once woken.
        KXPBodyMass::setType(bodies.back(), b2_dynamicBody);
        KXPBodyMotion::moveTo(bodies.back(), b2Vec2(-50.0f, -50.0f), 0.0f);
    }
    kxtest::TraceLines trace("bodies");
    for (int frame = 0; frame < 30; ++frame) {
        scene->update(1.0f / 60.0f);
    }
    EXPECT_TRUE(trace.lines().empty());
    for (b2Body* body : bodies) {
        EXPECT_TRUE(body->IsEnabled());
    }
}

// Sections a point wide holding a hundred objects each: the level stops growing once the field
// holds as many objects as the bound, for each frame's work grows with them.
TEST_F(LevelStreaming, TheLevelWaitsWhileTheFieldHoldsTheBoundsWorthOfObjects) {
    auto opening = section("opening", 0.0f, -1.0f, 1.0f);
    opening->initSectionAttribute()->setValue(true, true);
    auto crowd = section("crowd", 0.0f, -1.0f, 1.0f);
    for (int index = 0; index < 100; ++index) {
        particles(*crowd, CCPoint(index, 20.0f));
    }
    make();
    scene->restoreFromCheckpoint();
    // Made twenty a frame.
    const int frames =
        static_cast<int>(KXPScreenScene::kCrowdedFieldObjects) / KXPScreenScene::kModelsPerCall + 100;
    for (int frame = 0; frame < frames; ++frame) {
        scene->update(1.0f / 60.0f);
    }
    const size_t onField = scene->getObjectLayer()->getChildrenCount();
    const float laid = scene->getLaidDistance();
    EXPECT_GE(onField, KXPScreenScene::kCrowdedFieldObjects - 100);
    EXPECT_LT(onField, KXPScreenScene::kCrowdedFieldObjects + 100);
    EXPECT_LT(laid, scene->getCameraDistance());
    for (int frame = 0; frame < 100; ++frame) {
        scene->update(1.0f / 60.0f);
    }
    EXPECT_EQ(scene->getLaidDistance(), laid);
    EXPECT_LT(scene->getObjectLayer()->getChildrenCount(), KXPScreenScene::kCrowdedFieldObjects + 100);
}

// Sections a view wide, each with 1,500 objects 11 points apart: every one is laid in the step
// the camera reaches its start, ahead of the view, however many the field holds.
TEST_F(LevelStreaming, DenseSectionsAreLaidWhenTheCameraReachesThem) {
    auto opening = section("opening", 0.0f, -1.0f, 1100.0f);
    opening->initSectionAttribute()->setValue(true, true);
    auto dense = section("dense", 0.0f, -1.0f, 1100.0f);
    for (int index = 0; index < 1500; ++index) {
        particles(*dense,
                  CCPoint(11.0f * static_cast<float>(index % 100), 11.0f * static_cast<float>(index / 100)));
    }
    make();
    scene->restoreFromCheckpoint();
    scene->getObjectLayer()->setFollowFactor(0.0f);
    gameplay->setGameSpeedMin(10.0f);
    gameplay->setGameSpeedMax(10.0f);
    gameplay->setGameSpeed(10.0f);
    const float laidAtStart = scene->getLaidDistance();
    // 10 points a step: five sections pass.
    for (int frame = 0; frame < 600; ++frame) {
        scene->update(1.0f / 60.0f);
        ASSERT_LE(scene->getCameraDistance(), scene->getLaidDistance()) << frame;
    }
    EXPECT_GE(scene->getLaidDistance() - laidAtStart, 5 * 1100.0f);
}

TEST_F(LevelStreaming, ACameraFarAheadLaysFromWhereItIsAndTheQueueStaysBounded) {
    auto opening = section("opening", 0.0f, -1.0f, 100.0f);
    opening->initSectionAttribute()->setValue(true, true);
    auto road = section("road", 0.0f, -1.0f, 300.0f);
    for (int index = 0; index < 30; ++index) {
        particles(*road, CCPoint(10.0f * index, 20.0f));
    }
    make();
    scene->restoreFromCheckpoint();
    // A damaged game speed: the camera runs a million points a step. Catching up a section a step
    // would queue one section (30 models) a frame, made 20 a frame, for ever.
    gameplay->setGameSpeedMax(1.0e6f);
    gameplay->setGameSpeed(1.0e6f);
    KXDebugLogCapture log;
    for (int frame = 0; frame < 200; ++frame) {
        scene->update(1.0f / 60.0f);
        ASSERT_LE(scene->getCreationQueue().size(), KXPScreenScene::kMaxQueuedSections) << frame;
    }
    EXPECT_GT(scene->getCameraDistance(), 1.0e6f);
    EXPECT_LT(scene->getCameraDistance() - scene->getLaidDistance(), scene->streamingCatchUpLimit());
    EXPECT_TRUE(std::any_of(log.lines().begin(), log.lines().end(), [](const std::string& line) {
        return line.rfind("[KXPScreenScene] the camera ran ", 0) == 0;
    }));

    // A camera distance that is no number lays nothing more.
    gameplay->setGameSpeedMax(std::numeric_limits<float>::infinity());
    gameplay->setGameSpeed(std::numeric_limits<float>::infinity());
    scene->update(1.0f / 60.0f);
    const float laid = scene->getLaidDistance();
    scene->update(1.0f / 60.0f);
    scene->update(1.0f / 60.0f);
    EXPECT_EQ(scene->getLaidDistance(), laid);
}

TEST_F(LevelStreaming, AGapBetweenTheSectionsRangesEndsTheLevelHoweverFarTheCameraGoes) {
    auto near = section("near", 0.0f, 1000.0f, 1000.0f);
    auto far = section("far", 3000.0f, -1.0f, 1000.0f);
    make();
    scene->restoreFromCheckpoint();
    ASSERT_EQ(scene->getLaidDistance(), 1000.0f);
    // Fast, but well within a view a step, and following no one; the field ends its game a
    // second after it starts without characters.
    scene->getObjectLayer()->setFollowFactor(0.0f);
    gameplay->setGameSpeedMin(300.0f);
    gameplay->setGameSpeedMax(300.0f);
    gameplay->setGameSpeed(300.0f);
    KXDebugLogCapture log;
    for (int frame = 0; frame < 40; ++frame) {
        scene->update(1.0f / 60.0f);
    }
    // Past the far section's start and far past the camera's reach of the level.
    EXPECT_GT(scene->getCameraDistance(), 10000.0f);
    EXPECT_EQ(scene->getLaidDistance(), 1000.0f);
    EXPECT_EQ(countLines(log, "add level section: " + std::to_string(far->id())), 0u);
    EXPECT_EQ(countLines(log, "add level section: " + std::to_string(near->id())), 0u);
}

// A section whose width adds no distance (none, a negative one, no number, one too thin to move the
// laid distance on by a point) leaves the laid distance where it was: laid again there at every
// step, it would pile its objects up for ever.
TEST_F(LevelStreaming, ASectionThatAddsNoDistanceIsLaidOnceWhereItStands) {
    auto flat = section("flat");
    auto node = particles(*flat, CCPoint(10.0f, 20.0f));
    make();
    const std::string laidLine = "add level section: " + std::to_string(flat->id());
    for (const float width :
         {0.0f, -300.0f, std::numeric_limits<float>::quiet_NaN(), 1.0e-45f, 1.0e-6f, 0.01f}) {
        flat->widthAttribute()->setValue(width, true);
        KXDebugLogCapture log;
        scene->restoreFromCheckpoint();
        for (int frame = 0; frame < 30; ++frame) {
            scene->update(1.0f / 60.0f);
        }
        EXPECT_EQ(countLines(log, laidLine), 1u) << width;
        EXPECT_EQ(scene->getLaidDistance(), 0.0f) << width;
        EXPECT_EQ(nodesOf(node).size(), 1u) << width;
        EXPECT_TRUE(scene->getCreationQueue().empty()) << width;
    }
}

TEST_F(LevelStreaming, TheLevelGoesOnPastASectionThatAddsNoDistance) {
    auto opening = section("opening", 0.0f, -1.0f, 700.0f);
    opening->initSectionAttribute()->setValue(true, true);
    auto flat = section("flat", 0.0f, -1.0f, 0.0f);
    particles(*flat, CCPoint(10.0f, 20.0f));
    auto road = section("road", 0.0f, -1.0f, 500.0f);
    make();
    // The road cools down at first, so the flat section is the one laid at 700.
    road->setCooldownCounter(5);
    KXDebugLogCapture log;
    // The sections after the first are drawn at random: the same draws whatever ran before.
    std::srand(1);
    scene->restoreFromCheckpoint();
    EXPECT_EQ(flat->placedDistance(), 700.0f);
    // The restore's catch-up goes on past it up to the camera, and builds everything at once.
    EXPECT_GE(scene->getLaidDistance(), scene->getCameraDistance());
    EXPECT_TRUE(scene->getCreationQueue().empty());

    // Streaming on: the flat section comes at most once between two roads.
    scene->getObjectLayer()->setFollowFactor(0.0f);
    gameplay->setGameSpeedMin(300.0f);
    gameplay->setGameSpeedMax(300.0f);
    gameplay->setGameSpeed(300.0f);
    for (int frame = 0; frame < 40; ++frame) {
        scene->update(1.0f / 60.0f);
    }
    const size_t flats = countLines(log, "add level section: " + std::to_string(flat->id()));
    const size_t roads = countLines(log, "add level section: " + std::to_string(road->id()));
    EXPECT_GT(scene->getLaidDistance(), 5000.0f);
    EXPECT_GE(roads, 10u);
    EXPECT_LE(flats, roads + 1);
    // The search for a checkpoint ahead ends too.
    scene->findCheckpointPowerup();
}

TEST_F(LevelStreaming, ObjectsLeftBehindGoWithTheFixedStepAndTextsStay) {
    auto level = section("trail");
    auto far = particles(*level, CCPoint(-1000.0f, 250.0f));
    auto near = particles(*level, CCPoint(100.0f, 250.0f));
    auto label = createModel<KXModelObjectLabel>();
    label->positionAttribute()->setValue(CCPoint(-1000.0f, 250.0f), true);
    level->addChild(label, true);
    make();
    scene->addLevelSection(level, 0.0f);
    scene->instantiateQueuedObjects();
    ASSERT_EQ(nodesOf(far).size(), 1u);
    scene->update(1.0f / 60.0f);
    EXPECT_TRUE(nodesOf(far).empty());
    EXPECT_EQ(nodesOf(near).size(), 1u);
    EXPECT_EQ(nodesOf(label).size(), 1u);
}

TEST_F(LevelStreaming, AnObjectLeftBehindTracesItsModelIdAsWrittenPastTheIntRange) {
    auto level = section("trail");
    const kxtest::ScopedIdCounter ids(0x80000004u);
    auto far = particles(*level, CCPoint(-1000.0f, 250.0f));
    ASSERT_EQ(far->id(), 2147483653u);
    make();
    scene->addLevelSection(level, 0.0f);
    scene->instantiateQueuedObjects();
    kxtest::TraceLines trace("objects");
    scene->update(1.0f / 60.0f);
    EXPECT_EQ(trace.lines(), std::vector<std::string>{"objects remove tag=2147483653 at=-1000,250"});
}

TEST_F(LevelStreaming, ACopyTakesItsDestinationsTurnInEveryQuadrant) {
    CCNode* node = CCNode::create();
    node->setPosition(CCPoint(30.0f, -20.0f));
    node->setScale(2.0f);
    for (float turn : {0.0f, 45.0f, 90.0f, 135.0f, 180.0f, -135.0f, -90.0f}) {
        node->setRotation(turn);
        const KXPTransformParts parts = KXPTransformParts::ofDestination(node->nodeToParentTransform());
        EXPECT_NEAR(std::remainder(parts.rotation - turn, 360.0f), 0.0f, 1e-3f) << turn;
        EXPECT_NEAR(parts.scaleX, 2.0f, 1e-5f);
        EXPECT_NEAR(parts.scaleY, 2.0f, 1e-5f);
        EXPECT_TRUE(parts.position.equals(CCPoint(30.0f, -20.0f)));
    }
    // A mirrored destination keeps the quadrant-blind turn mirrored data was made for.
    node->setScaleX(-1.0f);
    node->setScaleY(1.0f);
    node->setRotation(30.0f);
    EXPECT_NEAR(KXPTransformParts::ofDestination(node->nodeToParentTransform()).rotation, 30.0f, 1e-3f);
    node->setRotation(150.0f);
    EXPECT_NEAR(KXPTransformParts::ofDestination(node->nodeToParentTransform()).rotation, -30.0f, 1e-3f);
    // A node of no size turns by 0, not by NaN.
    node->setScale(0.0f);
    const KXPTransformParts flat = KXPTransformParts::ofDestination(node->nodeToParentTransform());
    EXPECT_EQ(flat.rotation, 0.0f);
    EXPECT_EQ(flat.scaleX, 0.0f);
}

TEST_F(LevelStreaming, AnObjectMadeAtANodeStandsWhereTheNodeStandsInTheLayer) {
    auto level = section("placed");
    auto node = particles(*level, CCPoint(5.0f, 5.0f));
    make();
    CCNode* destination = CCNode::create();
    destination->setPosition(CCPoint(400.0f, 120.0f));
    destination->setRotation(135.0f);
    destination->setScale(1.5f);
    scene->getObjectLayer()->addChild(destination);
    KXPObjectAsset* copy = scene->createObjectAtNode(node, destination);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->getParent(), scene->getObjectLayer());
    EXPECT_TRUE(copy->getPosition().equals(CCPoint(400.0f, 120.0f)));
    EXPECT_NEAR(copy->getRotation(), 135.0f, 1e-3f);
    EXPECT_NEAR(copy->getScaleX(), 1.5f, 1e-5f);
}

// A group layer of a section is laid as a sorting group over the object layer: on the field's
// next frame the lower of its two objects is drawn in front.
TEST_F(LevelStreaming, AGroupLayerIsLaidAndSortsItsObjectsOnTheNextFrame) {
    auto level = section("grouped");
    auto group = createModel<KXModelObjectGroup>();
    attributeOf<KXAttributeBool>(*group, "Auto Depth Sorting")->setValue(true, true);
    attributeOf<KXAttributeStringList>(*group, "Sort Direction")->setValue(KXPObjectGroup::kSortByY, true);
    attributeOf<KXAttributeStringList>(*group, "Sort Order")
        ->setValue(KXPObjectGroup::kSortLargerFirst, true);
    level->addChild(group, true);
    auto low = particles(*level, CCPoint(0.0f, 100.0f));
    auto high = particles(*level, CCPoint(0.0f, 200.0f));
    for (const auto& member : {low, high}) {
        member->zDepthAttribute()->setValue(5, true);
        group->addChild(member, true);
    }
    make();
    scene->addLevelSection(level, 0.0f);
    EXPECT_TRUE(scene->instantiateQueuedObjects());
    ASSERT_EQ(nodesOf(group).size(), 1u);
    auto* laid = dynamic_cast<KXPObjectGroup*>(nodesOf(group).front());
    ASSERT_NE(laid, nullptr);
    EXPECT_EQ(laid->getObjectLayer(), scene->getObjectLayer());
    ASSERT_EQ(nodesOf(low).size(), 1u);
    ASSERT_EQ(nodesOf(high).size(), 1u);

    scene->update(1.0f / 60.0f);
    EXPECT_EQ(nodesOf(high).front()->getZOrder(), 5);
    EXPECT_EQ(nodesOf(low).front()->getZOrder(), 6);
}

} // namespace
