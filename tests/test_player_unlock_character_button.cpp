// The unlock-character button: its state by the settings (locked, unlocked, selected), the icons
// of each state, unlocking with coins, in the store, with a rewarded video or through a web link,
// selecting, and showing itself only while the current screen's carousel shows its locked
// character.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "cocos2d.h"
#include "model/KXDebugLog.h"
#include "model/classes/KXModelAnimation.h"
#include "model/classes/KXModelAssetCharacter.h"
#include "model/classes/KXModelComponentCharacterIcon.h"
#include "model/classes/KXModelObjectButtonCharacterUnlock.h"
#include "model/classes/KXModelObjectCharacterSelector.h"
#include "model/classes/KXModelObjectImage.h"
#include "model/classes/KXModelQueries.h"
#include "model/classes/KXModelSpriteContainer.h"
#include "model/references/KXAttributeAnimation.h"
#include "player/ads/KXAdController.h"
#include "player/objects/KXPAnimationObject.h"
#include "player/objects/KXPObjectCharacterSelector.h"
#include "player/objects/buttons/KXPObjectButtonUnlockCharacter.h"
#include "player/screens/KXPScreenUi.h"
#include "player/services/KXPurchaseBridge.h"
#include "support/progress_test_support.h"
#include "support/sample_game_support.h"
#include "support/screen_graph.h"
#include "support/state_guards.h"

using namespace cocos2d;
using State = KXPObjectButtonUnlockCharacter::State;

namespace {

class UnlockCharacterButton : public kxtest::ProgressTest {
protected:
    void TearDown() override {
        // The store and the ad network keep their callers alive until told otherwise.
        KXPurchaseBridge::shared()->setCallback(nullptr, nullptr);
        KXAdController::shared()->setRewardedVideoCallback(nullptr, nullptr);
        for (CCObject* button : held) {
            button->release();
        }
        ProgressTest::TearDown();
    }

    static std::shared_ptr<KXModelAnimation> animation() {
        auto made = createModel<KXModelAnimation>();
        made->addChild(createModel<KXModelObjectImage>(), true);
        return made;
    }
    static std::shared_ptr<KXModelAssetCharacter> character(const std::string& method, float price = 0.0f) {
        auto made = createModel<KXModelAssetCharacter>();
        made->purchaseMethodAttribute()->setValue(method, true);
        made->priceAttribute()->setValue(price, true);
        made->defaultAnimationAttribute()->setValue(animation(), true);
        return made;
    }
    static void giveIcons(KXModelAssetCharacter& owner, bool selectedIcon, bool lockedIcon) {
        auto icons = createModel<KXModelComponentCharacterIcon>();
        owner.addChild(icons, true);
        dynamic_cast<KXAttributeAnimation*>(icons->attribute("Regular Icon"))->setValue(animation(), true);
        if (selectedIcon) {
            dynamic_cast<KXAttributeAnimation*>(icons->attribute("Selected Icon"))
                ->setValue(animation(), true);
        }
        if (lockedIcon) {
            dynamic_cast<KXAttributeAnimation*>(icons->attribute("Locked Icon"))->setValue(animation(), true);
        }
    }
    // The button a screen builds for the character, updated once.
    KXPObjectButtonUnlockCharacter* button(const std::shared_ptr<KXModelAssetCharacter>& target,
                                           bool showWhenSelected = false) {
        auto model = createModel<KXModelObjectButtonCharacterUnlock>();
        setText(*model, "Character", std::to_string(target->id()));
        setBool(*model, "Show When Selected", showWhenSelected);
        auto* made = dynamic_cast<KXPObjectButtonUnlockCharacter*>(KXPObjectButton::create(model, nullptr));
        EXPECT_NE(made, nullptr);
        if (made != nullptr) {
            CCObject* object = made;
            object->retain();
            held.push_back(object);
            made->update(0.0f);
        }
        return made;
    }
    static bool shows(KXPAnimationObject* icon) { return icon != nullptr && icon->isVisible(); }

    std::vector<CCObject*> held;
};

TEST_F(UnlockCharacterButton, PressesUnlockWithCoinsOrSelectAndTheStateFollowsTheSettings) {
    character("kFree");
    auto knight = character("kInGameCurrency", 30.0f);
    auto ninja = character("kFree");
    settings()->setSelectedCharacter(0);
    KXPObjectButtonUnlockCharacter* knightButton = button(knight);
    KXPObjectButtonUnlockCharacter* ninjaButton = button(ninja);
    EXPECT_EQ(knightButton->characterIndex(), 1);
    EXPECT_EQ(knightButton->state(), State::kStateLocked);
    EXPECT_EQ(ninjaButton->state(), State::kStateUnlocked);

    ninjaButton->activate();
    EXPECT_EQ(ninjaButton->state(), State::kStateSelected);
    EXPECT_EQ(settings()->selectedCharacter(), 2);

    KXDebugLogCapture log;
    coins().total = 20;
    knightButton->activate();
    EXPECT_TRUE(log.contains("not enought coins to unlock"));
    knightButton->update(0.0f);
    EXPECT_EQ(knightButton->state(), State::kStateLocked);
    // A failed payment never turns into an unlock later.
    for (int frame = 0; frame < 15; ++frame) {
        knightButton->update(1.0f / 60.0f);
    }
    EXPECT_FALSE(settings()->isCharacterUnlocked(1));
    EXPECT_FALSE(knightButton->isUnlockPending());

    coins().total = 30;
    knightButton->activate();
    EXPECT_EQ(coins().total, 0);
    knightButton->update(0.0f);
    ninjaButton->update(0.0f);
    EXPECT_EQ(knightButton->state(), State::kStateSelected);
    EXPECT_EQ(ninjaButton->state(), State::kStateUnlocked);
    EXPECT_EQ(storedInteger("KXP_selectedCharacter"), 1);
}

TEST_F(UnlockCharacterButton, AWebLinkUnlocksTenFramesAfterThePress) {
    auto linked = character("kWebLink");
    linked->webLinkAttribute()->setValue("https://example.com/hero", true);
    KXPObjectButtonUnlockCharacter* made = button(linked);
    made->activate();
    EXPECT_TRUE(made->isUnlockPending());
    for (int frame = 0; frame < 9; ++frame) {
        made->update(1.0f / 60.0f);
    }
    EXPECT_FALSE(settings()->isCharacterUnlocked(0));
    made->update(1.0f / 60.0f);
    EXPECT_TRUE(settings()->isCharacterUnlocked(0));
    EXPECT_EQ(made->state(), State::kStateSelected);
}

TEST_F(UnlockCharacterButton, AStorePurchaseOrAWatchedVideoUnlocksAndSelectsTheCharacter) {
    auto sold = character("kInAppPurchase");
    sold->storeIdentifierAttribute()->setValue("com.example.knight", true);
    auto unsold = character("kInAppPurchase");
    auto watched = character("kRewardedVideos");
    watched->adNetworkAttribute()->setValue("kHeyzap", true);
    auto unwatched = character("kRewardedVideos");
    unwatched->adNetworkAttribute()->setValue("kCustom", true);
    KXDebugLogCapture log;

    // Without a store identifier nothing is bought.
    KXPObjectButtonUnlockCharacter* unsoldButton = button(unsold);
    unsoldButton->activate();
    unsoldButton->update(0.0f);
    EXPECT_FALSE(settings()->isCharacterUnlocked(1));
    EXPECT_EQ(unsoldButton->state(), State::kStateLocked);

    KXPObjectButtonUnlockCharacter* soldButton = button(sold);
    soldButton->activate();
    EXPECT_TRUE(log.contains("[KXPurchaseBridge] purchase completed: com.example.knight"));
    EXPECT_TRUE(settings()->isCharacterUnlocked(0));
    EXPECT_EQ(soldButton->state(), State::kStateSelected);
    EXPECT_EQ(storedInteger("KXP_selectedCharacter"), 0);

    // The character's own ad network plays the video: the game's own slot never finishes one.
    KXPObjectButtonUnlockCharacter* unwatchedButton = button(unwatched);
    unwatchedButton->activate();
    unwatchedButton->update(0.0f);
    EXPECT_FALSE(settings()->isCharacterUnlocked(3));
    EXPECT_EQ(unwatchedButton->state(), State::kStateLocked);
    KXPObjectButtonUnlockCharacter* watchedButton = button(watched);
    watchedButton->activate();
    EXPECT_TRUE(settings()->isCharacterUnlocked(2));
    EXPECT_EQ(watchedButton->state(), State::kStateSelected);
    EXPECT_EQ(storedInteger("KXP_selectedCharacter"), 2);
}

TEST_F(UnlockCharacterButton, TheSelectedIconReplacesTheIdleIconOfTheSelectedCharacter) {
    auto first = character("kFree");
    auto second = character("kInGameCurrency", 5.0f);
    giveIcons(*first, true, false);
    giveIcons(*second, false, true);
    settings()->setSelectedCharacter(0);
    KXPObjectButtonUnlockCharacter* selected = button(first);
    KXPObjectButtonUnlockCharacter* locked = button(second);

    EXPECT_TRUE(shows(selected->selectedIcon()));
    EXPECT_FALSE(shows(selected->idleIcon()));
    // Without a picture of the character, a locked one shows its locked icon.
    EXPECT_EQ(locked->characterImage(), nullptr);
    EXPECT_TRUE(shows(locked->lockedIcon()));
    EXPECT_FALSE(shows(locked->idleIcon()));

    settings()->unlockCharacter(1);
    settings()->setSelectedCharacter(1);
    selected->update(0.0f);
    locked->update(0.0f);
    EXPECT_TRUE(shows(selected->idleIcon()));
    EXPECT_FALSE(shows(selected->selectedIcon()));
    // No selected icon of its own: the idle icon stays.
    EXPECT_TRUE(shows(locked->idleIcon()));
    EXPECT_FALSE(shows(locked->lockedIcon()));
}

TEST_F(UnlockCharacterButton, ACharacterWhoseIdIsPastTheIntRangeIsFound) {
    character("kFree");
    const kxtest::ScopedIdCounter ids(0x80000004u);
    auto far = character("kFree");
    ASSERT_EQ(far->id(), 2147483653u);
    KXPObjectButtonUnlockCharacter* made = button(far);
    EXPECT_EQ(made->characterIndex(), 1);
    EXPECT_EQ(made->state(), State::kStateUnlocked);
}

TEST_F(UnlockCharacterButton, AButtonForNoCharacterOnlyDoesWhatEveryButtonDoes) {
    auto model = createModel<KXModelObjectButtonCharacterUnlock>();
    setText(*model, "Character", "999999");
    KXDebugLogCapture log;
    auto* made = dynamic_cast<KXPObjectButtonUnlockCharacter*>(KXPObjectButton::create(model, nullptr));
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->characterIndex(), -1);
    made->update(0.0f);
    made->activate();
    EXPECT_EQ(made->state(), State::kStateNone);
    EXPECT_EQ(log.lines().size(), 1u);
}

// With a picture of the character (a sprite of the sample game).
class UnlockCharacterPicture : public UnlockCharacterButton {
protected:
    void SetUp() override {
        UnlockCharacterButton::SetUp();
        std::string failure;
        if (!game.write(&failure)) {
            GTEST_SKIP() << failure;
        }
        ASSERT_TRUE(game.load(&failure)) << failure;
        // The sample's own characters come first in the list.
        firstIndex = static_cast<int>(getModels<KXModelAssetCharacter>().size());
    }
    void TearDown() override {
        KXPScreensController::shared()->reset();
        UnlockCharacterButton::TearDown();
    }
    kxtest::SampleGame game;
    kxtest::ScreenGraph graph;
    int firstIndex = 0;
};

TEST_F(UnlockCharacterPicture, ShowWhenSelectedShowsTheLockedCharacterOnlyWhileTheScreensCarouselDoes) {
    auto icons = game.named<KXModelSpriteContainer>("Icons");
    ASSERT_TRUE(icons);
    character("kFree");
    auto locked = character("kInGameCurrency", 99.0f);
    locked->defaultAnimationAttribute()->addFrame(icons);
    KXPObjectButtonUnlockCharacter* made = button(locked, true);
    ASSERT_NE(made->characterImage(), nullptr);
    EXPECT_EQ(made->lockedIcon(), nullptr);

    // No screen with a carousel: hidden.
    EXPECT_FALSE(made->isVisible());
    auto heroes = graph.ui("heroes");
    graph.object<KXModelObjectCharacterSelector>(*heroes, "KXModelObjectCharacterSelector", "Heroes");
    KXPScreensController* screens = KXPScreensController::shared();
    screens->resetToUi("heroes");
    CCScene* scene = screens->currentScene();
    ASSERT_NE(scene, nullptr);
    director()->runWithScene(scene);
    frames(1);
    ASSERT_NE(screens->currentUi(), nullptr);
    KXPObjectCharacterSelector* carousel = screens->currentUi()->findCharacterSelector();
    ASSERT_NE(carousel, nullptr);
    // A carousel that came on stage later but is not the screen's has no say.
    KXPObjectCharacterSelector* stray =
        KXPObjectCharacterSelector::create(createModel<KXModelObjectCharacterSelector>());
    scene->addChild(stray);

    carousel->setSelectedIndex(firstIndex + 1);
    stray->setSelectedIndex(firstIndex);
    made->update(0.0f);
    EXPECT_TRUE(made->isVisible());
    EXPECT_TRUE(made->characterImage()->isVisible());
    carousel->setSelectedIndex(firstIndex);
    stray->setSelectedIndex(firstIndex + 1);
    made->update(0.0f);
    EXPECT_FALSE(made->isVisible());

    // Unlocked, it is hidden whatever the carousel shows.
    carousel->setSelectedIndex(firstIndex + 1);
    settings()->unlockCharacter(static_cast<uint32_t>(firstIndex + 1));
    made->update(0.0f);
    EXPECT_FALSE(made->isVisible());
    EXPECT_FALSE(made->characterImage()->isVisible());
}

} // namespace
