// The button kinds: lock buttons (coin and store unlocks, destinations, "Auto Follow" and "Auto
// Lock", following the lock-state table with their pictures), switch buttons (events 11 and 12,
// one state per model that outlives the screen), and the link buttons.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "cocos2d.h"
#include "model/KXDebugLog.h"
#include "model/attributes/KXAnimationCurve.h"
#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelObjectButtonCharacterUnlock.h"
#include "model/classes/KXModelObjectButtonFacebook.h"
#include "model/classes/KXModelObjectButtonPowerup.h"
#include "model/classes/KXModelObjectButtonPurchase.h"
#include "model/classes/KXModelObjectButtonSwitch.h"
#include "model/classes/KXModelObjectButtonUrl.h"
#include "model/classes/KXModelObjectLockButton.h"
#include "model/classes/KXModelQueries.h"
#include "model/classes/KXModelScreenScene.h"
#include "model/classes/KXModelSpriteContainer.h"
#include "model/references/KXAttributeSprite.h"
#include "player/input/KXPInputController.h"
#include "player/objects/buttons/KXPObjectButtonFacebook.h"
#include "player/objects/buttons/KXPObjectButtonLock.h"
#include "player/objects/buttons/KXPObjectButtonSwitch.h"
#include "player/objects/buttons/KXPObjectButtonUrl.h"
#include "player/services/KXPurchaseBridge.h"
#include "support/progress_test_support.h"
#include "support/sample_game_support.h"

using namespace cocos2d;

namespace {

// Records the screen handler's calls and the input events it hears.
class Recorder : public CCObject {
public:
    void onButton(CCObject* sender) { calls.push_back("button"), senders.push_back(sender); }
    void onSwitchOn(CCObject* sender) { calls.push_back("on"), senders.push_back(sender); }
    void onSwitchOff(CCObject* sender) { calls.push_back("off"), senders.push_back(sender); }
    void onPress(CCObject*) { calls.push_back("press handler"); }
    std::vector<std::string> calls;
    std::vector<CCObject*> senders;
};

class ButtonKinds : public kxtest::ProgressTest {
protected:
    void SetUp() override {
        ProgressTest::SetUp();
        recorder = new Recorder();
    }
    void TearDown() override {
        for (CCObject* button : held) {
            button->release();
        }
        KXPurchaseBridge::shared()->setCallback(nullptr, nullptr);
        KXPInputController::purgeShared();
        recorder->release();
        ProgressTest::TearDown();
    }

    // As a screen builds it, bound to the recorder as its screen handler.
    template <class T> T* build(const std::shared_ptr<KXModelObjectButton>& model) {
        KXPObjectButton* button = KXPObjectButton::create(model, nullptr);
        T* typed = dynamic_cast<T*>(button);
        EXPECT_NE(typed, nullptr);
        if (typed == nullptr) {
            return nullptr;
        }
        CCObject* object = button;
        object->retain();
        held.push_back(object);
        button->setMenuTarget(recorder, menu_selector(Recorder::onButton));
        return typed;
    }

    std::shared_ptr<KXModelObjectLockButton> lockModel(const std::string& name, const std::string& unlock,
                                                       float price) {
        auto model = createModel<KXModelObjectLockButton>();
        model->setName(name);
        setText(*model, "Unlock", unlock);
        setFloat(*model, "Price", price);
        setText(*model, "Destination", "kSceneDestination");
        setText(*model, "Scene", "7");
        return model;
    }
    static int currentSection() { return KXPScreensController::shared()->currentLevelSectionId(); }

    Recorder* recorder = nullptr;
    std::vector<CCObject*> held;
};

TEST_F(ButtonKinds, CoinsUnlockALockButtonThatThenLeadsToItsScene) {
    coins().total = 100;
    coins().session = 80;
    KXPObjectButtonLock* button = build<KXPObjectButtonLock>(lockModel("Forest", "kInGameCurrency", 60.5f));
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->isLocked());

    // The first press pays (the whole part of the price) and unlocks; nothing more.
    button->activate();
    EXPECT_FALSE(button->isLocked());
    EXPECT_EQ(coins().total, 40);
    EXPECT_EQ(coins().session, 40);
    ASSERT_NE(coins().backup(), nullptr);
    EXPECT_EQ(coins().backup()->values[0], 40);
    EXPECT_TRUE(recorder->calls.empty());
    EXPECT_EQ(currentSection(), 0);
    EXPECT_EQ(storedText("KXP_LockStates"), "Forest:0");

    // The second press picks the section named by "Scene", then calls the screen's handler.
    button->activate();
    EXPECT_EQ(currentSection(), 7);
    EXPECT_EQ(recorder->calls, std::vector<std::string>{"button"});
    EXPECT_EQ(coins().total, 40);
}

TEST_F(ButtonKinds, TooFewCoinsOrABadPriceLeaveTheButtonLocked) {
    coins().total = 60;
    for (float price : {60.5f, -10.0f}) {
        KXPObjectButtonLock* button = build<KXPObjectButtonLock>(lockModel("Cave", "kInGameCurrency", price));
        button->activate();
        EXPECT_TRUE(button->isLocked()) << price;
        EXPECT_EQ(coins().total, 60) << price;
        EXPECT_TRUE(recorder->calls.empty());
    }
    EXPECT_TRUE(lockState("Cave"));
}

TEST_F(ButtonKinds, AutoFollowGoesOnAtOnceAndAutoLockLocksAgain) {
    coins().total = 10;
    auto model = lockModel("Arena", "kInGameCurrency", 10.0f);
    setBool(*model, "Auto Follow", true);
    setBool(*model, "Auto Lock", true);
    KXPObjectButtonLock* button = build<KXPObjectButtonLock>(model);
    button->activate();
    EXPECT_EQ(coins().total, 0);
    EXPECT_EQ(currentSection(), 7);
    EXPECT_EQ(recorder->calls, std::vector<std::string>{"button"});
    // Sent on, it is locked again: the entry at once, the pictures on the next frame.
    EXPECT_TRUE(lockState("Arena"));
    EXPECT_FALSE(button->isLocked());
    button->update(0.0f);
    EXPECT_TRUE(button->isLocked());
    EXPECT_EQ(storedText("KXP_LockStates"), "Arena:1");
}

TEST_F(ButtonKinds, AStorePurchaseUnlocksWhenItHasAStoreIdentifier) {
    auto model = lockModel("Volcano", "kInAppPurchase", 0.0f);
    KXPObjectButtonLock* button = build<KXPObjectButtonLock>(model);
    button->activate();
    EXPECT_TRUE(button->isLocked());

    setText(*model, "Store Identifier", "com.example.volcano");
    button->activate();
    EXPECT_FALSE(button->isLocked());
    EXPECT_TRUE(recorder->calls.empty());
}

TEST_F(ButtonKinds, TheNextSceneDestinationFollowsTheCurrentSection) {
    auto scene = createModel<KXModelScreenScene>();
    auto first = createModel<KXModelLevelSection>();
    auto second = createModel<KXModelLevelSection>();
    scene->addChild(first, true);
    scene->addChild(second, true);
    auto model = lockModel("Onwards", "kInGameCurrency", 0.0f);
    setText(*model, "Destination", "kNextSceneDestination");
    lockState("Onwards") = false;
    KXPObjectButtonLock* button = build<KXPObjectButtonLock>(model);
    KXPScreensController::shared()->setCurrentLevelSectionId(static_cast<int>(first->id()));
    button->activate();
    EXPECT_EQ(currentSection(), static_cast<int>(second->id()));
}

TEST_F(ButtonKinds, ALockButtonLeadsToASectionWhoseIdIsPastTheIntRange) {
    auto model = lockModel("Far", "kInGameCurrency", 0.0f);
    setText(*model, "Scene", "2147483653");
    lockState("Far") = false;
    KXPObjectButtonLock* button = build<KXPObjectButtonLock>(model);
    button->activate();
    EXPECT_EQ(KXPScreensController::shared()->currentLevelSectionId(), 2147483653u);
}

TEST_F(ButtonKinds, TwoSwitchesOfOneModelShareAStateThatOutlivesTheirScreen) {
    auto model = createModel<KXModelObjectButtonSwitch>();
    KXPInputController* input = KXPInputController::shared();
    input->subscribe(KXPInputController::kActionButtonOn, recorder, callfuncO_selector(Recorder::onSwitchOn),
                     0);
    input->subscribe(KXPInputController::kActionButtonOff, recorder,
                     callfuncO_selector(Recorder::onSwitchOff), 0);

    KXPObjectButtonSwitch* first = build<KXPObjectButtonSwitch>(model);
    KXPObjectButtonSwitch* second = build<KXPObjectButtonSwitch>(model);
    first->setActionHandler(recorder, menu_selector(Recorder::onPress), nullptr);
    first->selected();
    first->unselected();
    EXPECT_TRUE(first->isOn());
    // The other button reads the shared state before it flips it.
    second->selected();
    EXPECT_FALSE(second->isOn());
    EXPECT_EQ(recorder->calls, (std::vector<std::string>{"on", "off"}));
    EXPECT_EQ(recorder->senders, (std::vector<CCObject*>{first, second}));

    // A rebuilt screen shows the switch as it was left; an emptied table starts it off.
    first->selected();
    EXPECT_TRUE(build<KXPObjectButtonSwitch>(model)->isOn());
    clearSwitchStates();
    EXPECT_FALSE(build<KXPObjectButtonSwitch>(model)->isOn());
}

TEST_F(ButtonKinds, LinkButtonsOnlyOpenTheirLinks) {
    KXDebugLogCapture log;
    auto url = createModel<KXModelObjectButtonUrl>();
    auto page = createModel<KXModelObjectButtonFacebook>();
    for (const std::shared_ptr<KXModelObjectButton>& model :
         std::vector<std::shared_ptr<KXModelObjectButton>>{url, page}) {
        model->intervalAttribute()->setValue(0.0f, true);
    }
    KXPObjectButtonUrl* urlButton = build<KXPObjectButtonUrl>(url);
    KXPObjectButtonFacebook* pageButton = build<KXPObjectButtonFacebook>(page);
    urlButton->activate();
    pageButton->activate();
    EXPECT_TRUE(log.contains("Button URL is empty"));
    EXPECT_TRUE(log.contains("Facebook button URL and ID is empty"));

    // With a link and an "Interval" they still call no handler and never hide.
    log.clear();
    setText(*url, "URL", "https://example.com");
    setText(*page, "Facebook ID", "12345");
    url->intervalAttribute()->setValue(2.0f, true);
    urlButton->activate();
    pageButton->activate();
    EXPECT_TRUE(log.lines().empty());
    EXPECT_TRUE(recorder->calls.empty());
    EXPECT_TRUE(urlButton->isVisible());
}

// Lets go of the menu it was given when a button fires: the screen taken down by what the
// button did.
class MenuDropper : public CCObject {
public:
    explicit MenuDropper(CCMenu* menu) : m_menu(menu) {}
    void fired(CCObject*) {
        if (m_menu != nullptr) {
            m_menu->release();
            m_menu = nullptr;
        }
    }
    bool dropped() const { return m_menu == nullptr; }

private:
    CCMenu* m_menu;
};

// The touch emulation's release fires a button whose action takes its screen down, and with it
// the last hold on the button: the kinds that do more after the common update (the stock of a
// powerup, a purchase's availability, a character's state) hold themselves to its end.
TEST_F(ButtonKinds, AnEmulatedTouchThatTakesTheButtonsScreenDownLetsItsUpdateEnd) {
    for (const std::shared_ptr<KXModelObjectButton>& model :
         std::vector<std::shared_ptr<KXModelObjectButton>>{
             createModel<KXModelObjectButtonPowerup>(), createModel<KXModelObjectButtonPurchase>(),
             createModel<KXModelObjectButtonCharacterUnlock>()}) {
        model->intervalAttribute()->setValue(0.0f, true);
        // Under key 1 the emulated touch is down from 0.5 s to 1.5 s.
        auto* curve = new KXAnimationCurve();
        curve->setMode(KXAnimationCurve::Linear);
        curve->appendPoint({0.0f, 0.0f, 0.0f, 0.0f});
        curve->appendPoint({1.0f, 1.0f, 1.0f, 1.0f});
        curve->appendPoint({0.0f, 2.0f, 0.0f, 0.0f});
        model->touchEmulationAttribute()->setAnimationCurves({curve}, 1);
        KXPObjectButton* button = KXPObjectButton::create(model, nullptr);
        ASSERT_NE(button, nullptr);
        CCMenu* menu = CCMenu::create(true);
        menu->addChild(button);
        menu->retain();
        // The menu holds the button, and only the test the menu.
        CCPoolManager::sharedPoolManager()->pop();
        auto* dropper = new MenuDropper(menu);
        button->setMenuTarget(dropper, menu_selector(MenuDropper::fired));
        button->setAnimationKey(1);
        for (int frame = 0; frame < 12 && !dropper->dropped(); ++frame) {
            button->update(0.25f);
        }
        EXPECT_TRUE(dropper->dropped()) << model->className();
        dropper->release();
    }
}

// The pictures come from the sample game's sprites.
class LockButtonPictures : public ButtonKinds {
protected:
    void SetUp() override {
        ButtonKinds::SetUp();
        std::string failure;
        if (!game.write(&failure)) {
            GTEST_SKIP() << failure;
        }
        ASSERT_TRUE(game.load(&failure)) << failure;
    }
    kxtest::SampleGame game;
};

TEST_F(LockButtonPictures, TheButtonShowsTheLockedOrTheNormalPicturesAsItsEntrySays) {
    auto icons = game.named<KXModelSpriteContainer>("Icons");
    auto runner = game.named<KXModelSpriteContainer>("Runner Frames");
    ASSERT_TRUE(icons && runner);
    auto model = lockModel("Desert", "kInGameCurrency", 5.0f);
    setAttribute<KXAttributeSprite>(*model, "Image", icons);
    setAttribute<KXAttributeSprite>(*model, "Locked Image", runner);
    KXPObjectButtonLock* button = build<KXPObjectButtonLock>(model);

    auto rectOf = [](CCNode* image) { return static_cast<CCSprite*>(image)->getTextureRect(); };
    const CCRect lockedRect = rectOf(button->getNormalImage());
    EXPECT_EQ(button->getDisabledImage(), nullptr);

    // Another screen's button unlocked the same entry: the pictures follow on the next frame.
    lockState("Desert") = false;
    button->update(0.0f);
    ASSERT_NE(button->getNormalImage(), nullptr);
    EXPECT_FALSE(rectOf(button->getNormalImage()).equals(lockedRect));
    EXPECT_NE(button->getSelectedImage(), nullptr);
    EXPECT_NE(button->getDisabledImage(), nullptr);

    // A reloaded table locks it again at once.
    parseLockStates("Desert:1");
    EXPECT_TRUE(button->isLocked());
    EXPECT_EQ(button->getDisabledImage(), nullptr);
}

} // namespace
