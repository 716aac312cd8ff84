// The character carousel: dragging with inertia and settling, taps to either side, what it shows
// and selects (also from a stored selection outside the list), the unlock methods, the
// suggestion, and its touch registration while it is on stage.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "cocos2d.h"
#include "model/KXDebugLog.h"
#include "model/classes/KXModelAnimation.h"
#include "model/classes/KXModelAssetCharacter.h"
#include "model/classes/KXModelComponentCharacterIcon.h"
#include "model/classes/KXModelObjectCharacterSelector.h"
#include "model/classes/KXModelObjectImage.h"
#include "model/classes/KXModelQueries.h"
#include "model/references/KXAttributeAnimation.h"
#include "player/ads/KXAdController.h"
#include "player/objects/KXPAnimationObject.h"
#include "player/objects/KXPObjectCharacterSelector.h"
#include "player/services/KXPurchaseBridge.h"
#include "support/progress_test_support.h"

using namespace cocos2d;

namespace {

class CharacterSelector : public kxtest::ProgressTest {
protected:
    void SetUp() override {
        ProgressTest::SetUp();
        scene = CCScene::create();
        director()->runWithScene(scene);
        frames(1);
        model = createModel<KXModelObjectCharacterSelector>();
        setFloat(*model, "Spread", 100.0f);
        // A hit box 400 wide, so taps a few icons away still land on the selector.
        model->setScale(CCPoint(4.0f, 1.0f));
    }
    void TearDown() override {
        // The store and the ad network keep their callers alive until told otherwise.
        KXPurchaseBridge::shared()->setCallback(nullptr, nullptr);
        KXAdController::shared()->setRewardedVideoCallback(nullptr, nullptr);
        ProgressTest::TearDown();
    }

    // A one-frame animation (an image without a picture).
    static std::shared_ptr<KXModelAnimation> animation() {
        auto made = createModel<KXModelAnimation>();
        made->addChild(createModel<KXModelObjectImage>(), true);
        return made;
    }
    std::shared_ptr<KXModelAssetCharacter> character(const std::string& method, float price = 0.0f) {
        auto made = createModel<KXModelAssetCharacter>();
        made->setName("Hero " + std::to_string(getModels<KXModelAssetCharacter>().size()));
        made->purchaseMethodAttribute()->setValue(method, true);
        made->priceAttribute()->setValue(price, true);
        made->defaultAnimationAttribute()->setValue(animation(), true);
        return made;
    }
    // The selector on the running scene.
    KXPObjectCharacterSelector* place() {
        selector = KXPObjectCharacterSelector::create(model);
        scene->addChild(selector);
        selector->setPosition(CCPointZero);
        return selector;
    }

    // Touches at points of the scene, which is where the selector sits (the view is 1000 x 500).
    static CCTouch* touchAt(float x, float y = 0.0f) {
        CCTouch* touch = new CCTouch();
        touch->setTouchInfo(0, x, 500.0f - y);
        touch->autorelease();
        return touch;
    }
    static void moveTo(CCTouch* touch, float x, float y = 0.0f) { touch->setTouchInfo(0, x, 500.0f - y); }
    static void send(unsigned int phase, CCTouch* touch) {
        CCSet* set = CCSet::create();
        set->addObject(touch);
        director()->getTouchDispatcher()->touches(set, nullptr, phase);
    }
    void tap(float x) {
        CCTouch* touch = touchAt(x);
        send(CCTOUCHBEGAN, touch);
        send(CCTOUCHENDED, touch);
    }
    // The row without the model's keyframed pose getting in the way of the offsets.
    void step(int count = 1) {
        for (int i = 0; i < count; ++i) {
            selector->update(1.0f / 60.0f);
        }
    }

    CCScene* scene = nullptr;
    std::shared_ptr<KXModelObjectCharacterSelector> model;
    KXPObjectCharacterSelector* selector = nullptr;
};

TEST_F(CharacterSelector, DraggingMovesTheRowByOnePointTwoTimesTheMoveAndCapsTheVelocity) {
    for (int i = 0; i < 3; ++i) {
        character("kFree");
    }
    place();
    CCTouch* touch = touchAt(0.0f);
    send(CCTOUCHBEGAN, touch);
    moveTo(touch, 10.0f);
    send(CCTOUCHMOVED, touch);
    EXPECT_FLOAT_EQ(selector->targetOffset(), 12.0f);
    EXPECT_FLOAT_EQ(selector->velocity(), 12.0f);
    moveTo(touch, 20.0f);
    send(CCTOUCHMOVED, touch);
    EXPECT_FLOAT_EQ(selector->targetOffset(), 24.0f);
    EXPECT_TRUE(selector->isDragging());

    moveTo(touch, 80.0f);
    send(CCTOUCHMOVED, touch);
    EXPECT_FLOAT_EQ(selector->targetOffset(), 96.0f);
    EXPECT_FLOAT_EQ(selector->velocity(), 50.0f);
    send(CCTOUCHENDED, touch);
    EXPECT_FALSE(selector->isDragging());
}

TEST_F(CharacterSelector, AfterReleaseTheRowGlidesThenSettlesOnTheShownCharacter) {
    for (int i = 0; i < 9; ++i) {
        character("kFree");
    }
    settings()->setSelectedCharacter(2);
    place();
    step(200);
    EXPECT_NEAR(selector->currentOffset(), -200.0f, 0.01f);
    CCTouch* touch = touchAt(0.0f);
    send(CCTOUCHBEGAN, touch);
    moveTo(touch, -10.0f);
    send(CCTOUCHMOVED, touch);
    send(CCTOUCHENDED, touch);

    // Away from the ends the velocity falls by 0.94 a frame until it is 2 or less.
    float expected = -12.0f;
    int glideFrames = 0;
    while (std::fabs(expected) > 2.0f) {
        step();
        expected *= 0.94f;
        ++glideFrames;
        ASSERT_NEAR(selector->velocity(), expected, 1e-4f) << glideFrames;
    }
    EXPECT_EQ(glideFrames, 29);
    step(300);
    EXPECT_NEAR(selector->currentOffset(), -100.0f * static_cast<float>(selector->shownIndex()), 0.01f);
}

TEST_F(CharacterSelector, AtTheEndsOfTheRowTheGlideIsBrakedHarder) {
    for (int i = 0; i < 3; ++i) {
        character("kFree");
    }
    settings()->setSelectedCharacter(0);
    place();
    CCTouch* touch = touchAt(0.0f);
    send(CCTOUCHBEGAN, touch);
    moveTo(touch, 10.0f);
    send(CCTOUCHMOVED, touch);
    send(CCTOUCHENDED, touch);
    step();
    EXPECT_NEAR(selector->velocity(), 12.0f * 0.94f * 0.7f, 1e-4f);
}

TEST_F(CharacterSelector, TheCharacterPassingTheMiddleOfAFastRowIsShownAndSelectedWhenUnlocked) {
    character("kFree");
    character("kInGameCurrency", 500.0f);
    character("kFree");
    settings()->setSelectedCharacter(0);
    place();
    // Drag the row one place left: the locked character comes to the middle.
    CCTouch* touch = touchAt(0.0f);
    send(CCTOUCHBEGAN, touch);
    for (int x = -10; x >= -90; x -= 10) {
        moveTo(touch, static_cast<float>(x));
        send(CCTOUCHMOVED, touch);
        step();
    }
    step(20);
    EXPECT_EQ(selector->shownIndex(), 1);
    // Shown with its price, but the game keeps its selected character.
    EXPECT_EQ(settings()->selectedCharacter(), 0);
    send(CCTOUCHENDED, touch);
}

TEST_F(CharacterSelector, TapsMoveByTheWholeNumberOfSpreadsAfterHalfASpread) {
    for (int i = 0; i < 6; ++i) {
        character("kFree");
    }
    place();
    tap(140.0f);
    EXPECT_EQ(selector->shownIndex(), 1);
    tap(160.0f);
    EXPECT_EQ(selector->shownIndex(), 3);
    tap(-40.0f);
    EXPECT_EQ(selector->shownIndex(), 3);
    tap(-60.0f);
    EXPECT_EQ(selector->shownIndex(), 2);
    EXPECT_EQ(settings()->selectedCharacter(), 2);
    // Past the end of the row: ignored.
    tap(190.0f);
    tap(190.0f);
    EXPECT_EQ(selector->shownIndex(), 4);
    tap(190.0f);
    EXPECT_EQ(selector->shownIndex(), 4);

    // Without a spacing, taps go nowhere.
    setFloat(*model, "Spread", 0.0f);
    tap(160.0f);
    tap(-160.0f);
    EXPECT_EQ(selector->shownIndex(), 4);
}

TEST_F(CharacterSelector, ACancelledTouchEndsTheDragWithoutATap) {
    for (int i = 0; i < 3; ++i) {
        character("kFree");
    }
    place();
    CCTouch* touch = touchAt(140.0f);
    send(CCTOUCHBEGAN, touch);
    moveTo(touch, 150.0f);
    send(CCTOUCHMOVED, touch);
    EXPECT_TRUE(selector->isDragging());
    send(CCTOUCHCANCELLED, touch);
    EXPECT_FALSE(selector->isDragging());
    EXPECT_EQ(selector->shownIndex(), 0);

    // A cancelled tap selects nothing either.
    CCTouch* other = touchAt(160.0f);
    send(CCTOUCHBEGAN, other);
    send(CCTOUCHCANCELLED, other);
    EXPECT_EQ(selector->shownIndex(), 0);
}

TEST_F(CharacterSelector, AStoredSelectionOutsideTheListIsShownClampedAndKept) {
    for (int i = 0; i < 3; ++i) {
        character("kFree");
    }
    settings()->setSelectedCharacter(7);
    place();
    EXPECT_EQ(selector->shownIndex(), 2);
    step(3);
    EXPECT_EQ(selector->shownIndex(), 2);
    EXPECT_EQ(settings()->selectedCharacter(), 7);
    settings()->setSelectedCharacter(-4);
    step();
    EXPECT_EQ(selector->shownIndex(), 0);

    // Out of range asks change nothing.
    selector->select(9);
    selector->setSelectedIndex(-1);
    selector->unlockCharacter(3);
    EXPECT_EQ(settings()->selectedCharacter(), -4);
    // The player's pick is stored.
    tap(160.0f);
    EXPECT_EQ(settings()->selectedCharacter(), 2);
}

TEST_F(CharacterSelector, WithoutCharactersNothingIsShownAndTapsAreIgnored) {
    settings()->setSelectedCharacter(3);
    place();
    EXPECT_EQ(selector->entryCount(), 0);
    EXPECT_EQ(selector->shownIndex(), -1);
    tap(160.0f);
    step(5);
    EXPECT_EQ(selector->shownIndex(), -1);
    EXPECT_EQ(settings()->selectedCharacter(), 3);
}

TEST_F(CharacterSelector, TouchesReachItOnlyWhileItIsOnStage) {
    character("kFree");
    character("kFree");
    KXPObjectCharacterSelector* made = KXPObjectCharacterSelector::create(model);
    made->retain();
    CCTouchDispatcher* dispatcher = director()->getTouchDispatcher();
    EXPECT_FALSE(dispatcher->isRegistered(made));
    scene->addChild(made);
    EXPECT_TRUE(dispatcher->isRegistered(made));

    made->removeFromParentAndCleanup(true);
    EXPECT_FALSE(dispatcher->isRegistered(made));
    tap(160.0f);
    EXPECT_EQ(made->shownIndex(), 0);
    made->release();
}

TEST_F(CharacterSelector, CoinsUnlockOnlyWhenTheTotalCoversThePrice) {
    character("kFree");
    auto knight = character("kInGameCurrency", 50.0f);
    place();
    selector->setSelectedIndex(1);
    coins().total = 49;
    coins().session = 30;
    selector->unlockButtonPressed(nullptr);
    EXPECT_FALSE(settings()->isCharacterUnlocked(1));
    EXPECT_EQ(coins().total, 49);
    EXPECT_EQ(settings()->selectedCharacter(), 0);

    coins().total = 50;
    selector->unlockButtonPressed(nullptr);
    EXPECT_TRUE(settings()->isCharacterUnlocked(1));
    EXPECT_EQ(coins().total, 0);
    EXPECT_EQ(coins().session, 0);
    EXPECT_EQ(settings()->selectedCharacter(), 1);
    EXPECT_EQ(storedInteger("KXP_selectedCharacter"), 1);
}

TEST_F(CharacterSelector, AWebLinkUnlockGrantsItsCharacterTenUpdatesLater) {
    character("kFree");
    character("kWebLink");
    character("kFree");
    place();
    selector->setSelectedIndex(1);
    selector->unlockButtonPressed(nullptr);
    // The player moves on meanwhile; the character of the link is the one granted.
    selector->setSelectedIndex(2);
    step(9);
    EXPECT_FALSE(settings()->isCharacterUnlocked(1));
    step();
    EXPECT_TRUE(settings()->isCharacterUnlocked(1));
    EXPECT_EQ(settings()->selectedCharacter(), 1);
    step(20);
    EXPECT_EQ(selector->shownIndex(), 1);
}

TEST_F(CharacterSelector, AStorePurchaseGrantsTheShownCharacterOnly) {
    character("kFree");
    auto bought = character("kInAppPurchase");
    bought->storeIdentifierAttribute()->setValue("com.example.hero", true);
    auto noId = character("kInAppPurchase");
    // Another character sold under the same product.
    auto twin = character("kInAppPurchase");
    twin->storeIdentifierAttribute()->setValue("com.example.hero", true);
    place();
    selector->setSelectedIndex(2);
    selector->unlockCharacter(2);
    EXPECT_FALSE(settings()->isCharacterUnlocked(2));
    selector->setSelectedIndex(1);
    selector->unlockCharacter(1);
    EXPECT_TRUE(settings()->isCharacterUnlocked(1));
    EXPECT_FALSE(settings()->isCharacterUnlocked(3));
    EXPECT_EQ(settings()->selectedCharacter(), 1);
    // A completion for a product no character is sold under grants nothing.
    selector->setSelectedIndex(3);
    selector->purchaseDidComplete("com.example.other");
    EXPECT_FALSE(settings()->isCharacterUnlocked(3));
}

TEST_F(CharacterSelector, TheSuggestionIsAnAffordableLockedCharacterUntilItsButtonIsUsed) {
    character("kFree");
    character("kInGameCurrency", 500.0f);
    character("kInGameCurrency", 40.0f);
    character("kWebLink");
    coins().total = 100;
    place();
    step();
    EXPECT_EQ(selector->suggestion(), 2);
    selector->suggestionButtonPressed(nullptr);
    EXPECT_TRUE(settings()->isCharacterUnlocked(2));
    EXPECT_EQ(coins().total, 60);
    EXPECT_EQ(selector->shownIndex(), 2);
    step();
    EXPECT_EQ(selector->suggestion(), KXPObjectCharacterSelector::kNoMoreSuggestions);

    // A suggestion unlocked another way is dropped and drawn again.
    KXPObjectCharacterSelector* second = KXPObjectCharacterSelector::create(model);
    second->retain();
    coins().total = 1000;
    second->update(0.0f);
    EXPECT_EQ(second->suggestion(), 1);
    settings()->unlockCharacter(1);
    second->update(0.0f);
    EXPECT_EQ(second->suggestion(), KXPObjectCharacterSelector::kNoSuggestionYet);
    second->release();
}

TEST_F(CharacterSelector, IconsShowTheStateOfEachCharacter) {
    auto iconic = character("kInGameCurrency", 10.0f);
    auto icons = createModel<KXModelComponentCharacterIcon>();
    iconic->addChild(icons, true);
    dynamic_cast<KXAttributeAnimation*>(icons->attribute("Regular Icon"))->setValue(animation(), true);
    dynamic_cast<KXAttributeAnimation*>(icons->attribute("Selected Icon"))->setValue(animation(), true);
    dynamic_cast<KXAttributeAnimation*>(icons->attribute("Locked Icon"))->setValue(animation(), true);
    character("kFree");
    settings()->setSelectedCharacter(1);
    place();
    // Locked: the locked icon only.
    EXPECT_TRUE(selector->lockedIcon(0)->isVisible());
    EXPECT_FALSE(selector->regularIcon(0)->isVisible());
    EXPECT_FALSE(selector->selectedIcon(0)->isVisible());
    // Unlocked and shown: the selected icon instead of the regular one.
    coins().total = 10;
    selector->setSelectedIndex(0);
    selector->unlockButtonPressed(nullptr);
    EXPECT_FALSE(selector->lockedIcon(0)->isVisible());
    EXPECT_TRUE(selector->selectedIcon(0)->isVisible());
    EXPECT_FALSE(selector->regularIcon(0)->isVisible());
    // Without icons of its own a character shows its default animation.
    EXPECT_NE(selector->regularIcon(1), nullptr);
    EXPECT_EQ(selector->selectedIcon(1), nullptr);
    EXPECT_TRUE(selector->regularIcon(1)->isVisible());
}

} // namespace
