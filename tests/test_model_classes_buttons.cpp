// Image and button models: the interval rule, back-to resolution, renaming the shown sprite,
// stored attribute orders and the action button's renamed selection.
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <msgpack.hpp>

#include "model/KXMessagePackMap.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelObject.h"
#include "model/classes/KXModelObjectButton.h"
#include "model/classes/KXModelObjectButtonPowerup.h"
#include "model/classes/KXModelObjectImage.h"
#include "model/classes/KXModelQueries.h"
#include "model/classes/KXModelScreen.h"
#include "model/classes/KXModelScreenScene.h"
#include "model/classes/KXModelSpriteContainer.h"
#include "model/classes/KXNodeScene.h"
#include "model/classes/KXNodeUI.h"
#include "support/attribute_test_support.h"
#include "support/model_class_helpers.h"
#include "support/model_test_models.h"

namespace {

using ButtonPtr = std::shared_ptr<KXModelObjectButton>;
using PowerupButtonPtr = std::shared_ptr<KXModelObjectButtonPowerup>;

class ButtonModels : public ::testing::Test {
protected:
    void SetUp() override { resetModelCore(); }
    void TearDown() override { resetModelCore(); }

    static ButtonPtr buttonWithInterval(float interval) {
        ButtonPtr button = make<KXModelObjectButton>();
        button->intervalAttribute()->setValue(interval, true);
        return button;
    }

    // countPress then isActionDue, as a button does each time it is built.
    static std::vector<bool> builds(KXBaseModelObjectButton& button, int count) {
        std::vector<bool> due;
        for (int i = 0; i < count; ++i) {
            button.countPress();
            due.push_back(button.isActionDue());
        }
        return due;
    }

    static void addUIScreen(const std::string& key) {
        auto node = createModel<KXNodeUI>();
        auto screen = createModel<KXModelScreen>();
        screen->keyAttribute()->setValue(key, true);
        node->addChild(screen, true);
    }

    static void addSceneScreen(const std::string& key) {
        auto node = createModel<KXNodeScene>();
        auto scene = createModel<KXModelScreenScene>();
        scene->keyAttribute()->setValue(key, true);
        node->addChild(scene, true);
    }
};

// The scene object's own attributes, whatever they are, then `tail`.
std::vector<std::string> afterSceneObject(const std::vector<std::string>& tail) {
    std::vector<std::string> names = attributeNames(*KXModelObject::create());
    names.insert(names.end(), tail.begin(), tail.end());
    return names;
}

void installKeysOf(const KXModel& model) {
    KXMessagePackMap::setCollectingKeys(true);
    model.registerKeys();
    msgpack::zone zone;
    KXMessagePackMap collecting(zone);
    model.packValues(collecting);
    KXMessagePackMap::setCollectingKeys(false);
    KXMessagePackMap::KeyTable table;
    int next = 1;
    for (const std::string& name : KXMessagePackMap::registeredKeyNames()) {
        table[name] = next++;
    }
    KXMessagePackMap::installKeyTable(table);
}

TEST_F(ButtonModels, IntervalOfThreeIsDueOnTheSecondBuildAndEveryThirdAfter) {
    ButtonPtr button = buttonWithInterval(3.0f);
    button->resetPressCounter();
    EXPECT_EQ(button->pressCounter(), 3);
    const std::vector<bool> expected = {false, true, false, false, true, false, false, true};
    EXPECT_EQ(builds(*button, 8), expected);

    // A reset starts the sequence again.
    button->resetPressCounter();
    EXPECT_EQ(builds(*button, 2), (std::vector<bool>{false, true}));
}

TEST_F(ButtonModels, IntervalOfTwoAlternatesAcrossNegativeCounters) {
    ButtonPtr button = buttonWithInterval(2.0f);
    button->resetPressCounter();
    EXPECT_EQ(builds(*button, 5), (std::vector<bool>{true, false, true, false, true}));
    EXPECT_EQ(button->pressCounter(), -3);
}

TEST_F(ButtonModels, IntervalsWithoutAWholeRepeatCountAreAlwaysDue) {
    // 0.5 truncates to 0: always due instead of a remainder by zero. So are zero, negatives,
    // NaN and infinity.
    for (float interval : {0.5f, 0.999f, 0.0f, -3.0f, std::numeric_limits<float>::quiet_NaN()}) {
        ButtonPtr button = buttonWithInterval(interval);
        button->resetPressCounter();
        EXPECT_EQ(builds(*button, 4), (std::vector<bool>(4, true))) << interval;
    }
    // Loading stores values unclamped, so stored data can hold an infinite interval.
    ButtonPtr loaded = make<KXModelObjectButton>();
    installKeysOf(*loaded);
    MapWriter writer(2);
    writer.key("id").pack(5u);
    writer.key("Interval");
    writer.packer().pack_map(1);
    writer.key("value").pack(std::numeric_limits<float>::infinity());
    unpackValuesFromBytes(*loaded, writer.bytes());
    ASSERT_TRUE(std::isinf(loaded->interval()));
    loaded->resetPressCounter();
    EXPECT_EQ(builds(*loaded, 3), (std::vector<bool>(3, true)));
    ButtonPtr half = buttonWithInterval(0.5f);
    half->resetPressCounter();
    EXPECT_EQ(half->pressCounter(), 0);
}

TEST_F(ButtonModels, HeldActionIsNotDueUntilTheNextCountOrReset) {
    ButtonPtr button = buttonWithInterval(0.0f);
    button->resetPressCounter();
    button->setActionHeld();
    EXPECT_FALSE(button->isActionDue());
    EXPECT_FALSE(button->isActionDue());
    button->countPress();
    EXPECT_TRUE(button->isActionDue());
    button->setActionHeld();
    button->resetPressCounter();
    EXPECT_TRUE(button->isActionDue());
}

TEST_F(ButtonModels, BackToResolvesAgainstUIOrSceneScreensByKey) {
    addUIScreen("Shop");
    addSceneScreen("World 1");
    // A scene screen under a UI node does not count as a UI screen (exact class).
    auto uiNode = createModel<KXNodeUI>();
    auto misplaced = createModel<KXModelScreenScene>();
    misplaced->keyAttribute()->setValue("Odd", true);
    uiNode->addChild(misplaced, true);

    ButtonPtr button = createModel<KXModelObjectButton>();
    button->backToAttribute()->setValue("Shop", true);
    EXPECT_EQ(button->resolvedBackTo(), "Shop");
    EXPECT_EQ(button->resolvedBackToWorld(), "");

    button->backToAttribute()->setValue("World 1", true);
    EXPECT_EQ(button->resolvedBackTo(), "");
    EXPECT_EQ(button->resolvedBackToWorld(), "World 1");

    button->backToAttribute()->setValue("Odd", true);
    EXPECT_EQ(button->resolvedBackTo(), "");
    EXPECT_EQ(button->resolvedBackToWorld(), "");

    // Keys compare whole: a prefix is no match.
    button->backToAttribute()->setValue("Sho", true);
    EXPECT_EQ(button->resolvedBackTo(), "");
}

TEST_F(ButtonModels, BackToWorldSetTakesBothTextsAsTheyAre) {
    ButtonPtr button = createModel<KXModelObjectButton>();
    button->backToWorldAttribute()->setValue("World 2", true);
    EXPECT_EQ(button->resolvedBackTo(), "");
    EXPECT_EQ(button->resolvedBackToWorld(), "World 2");
    button->backToAttribute()->setValue("Nowhere", true);
    EXPECT_EQ(button->resolvedBackTo(), "Nowhere");
}

TEST_F(ButtonModels, TouchEmulationIsOnFromOneHalfAndStaysWithinItsLimits) {
    ButtonPtr button = make<KXModelObjectButton>();
    KXAttributeFloat* emulation = button->touchEmulationAttribute();
    EXPECT_FALSE(button->isTouchEmulationOn(0.0f, 0));
    emulation->setValue(0.5f, true);
    EXPECT_TRUE(button->isTouchEmulationOn(0.0f, 0));
    emulation->setValue(0.49f, true);
    EXPECT_FALSE(button->isTouchEmulationOn(0.0f, 0));
    emulation->setValue(7.0f, true);
    EXPECT_FLOAT_EQ(emulation->value(), 1.0f);
    emulation->setValue(-7.0f, true);
    EXPECT_FLOAT_EQ(emulation->value(), -1.0f);
}

TEST_F(ButtonModels, FreshButtonDefaults) {
    ButtonPtr button = make<KXModelObjectButton>();
    EXPECT_TRUE(button->blockTouch());
    EXPECT_TRUE(button->stickToEdge());
    EXPECT_FLOAT_EQ(button->autohide(), 0.0f);
    EXPECT_FLOAT_EQ(button->interval(), 0.0f);
    EXPECT_EQ(button->keyboardKey(), 0);
    EXPECT_EQ(button->action(), "");
    EXPECT_EQ(button->imageSelected(), nullptr);
    EXPECT_EQ(button->clickSound(), nullptr);
}

TEST_F(ButtonModels, AttributeOrdersOfImageAndButtons) {
    EXPECT_EQ(attributeNames(*KXModelObjectImage::create()),
              afterSceneObject({"Image", "Autohide", "Stick To Edge"}));

    const std::vector<std::string> buttonTail = {
        "Image",       "Image Selected", "Autohide",       "Stick To Edge", "Action",
        "Interval",    "Back To",        "Back To World",  "Click Sound",   "Release Sound",
        "Block Touch", "Keyboard Key",   "Touch Emulation"};
    EXPECT_EQ(attributeNames(*KXModelObjectButton::create()), afterSceneObject(buttonTail));

    const std::vector<std::string> powerupTail = {"Image",
                                                  "Image Selected",
                                                  "Autohide",
                                                  "Stick To Edge",
                                                  "Powerup Selection",
                                                  "Force Action on Press",
                                                  "Layering",
                                                  "Visibility Threshold",
                                                  "Interval",
                                                  "Back To",
                                                  "Back To World",
                                                  "Click Sound",
                                                  "Release Sound",
                                                  "Block Touch",
                                                  "Keyboard Key",
                                                  "Touch Emulation",
                                                  "Label Offset",
                                                  "Label Scale",
                                                  "Label Vertical Spacing",
                                                  "Unlimited Use",
                                                  "Max Refill",
                                                  "Refill Timeout",
                                                  "Refill At Start"};
    EXPECT_EQ(attributeNames(*KXModelObjectButtonPowerup::create()), afterSceneObject(powerupTail));
}

TEST_F(ButtonModels, RenamingAnImageRenamesItsSprite) {
    auto image = make<KXModelObjectImage>();
    auto sprite = make<KXModelSpriteContainer>();
    sprite->setName("old sprite");
    image->setImage(sprite);
    EXPECT_EQ(image->spriteContainer(), sprite);
    image->setName("Hero");
    EXPECT_EQ(sprite->name(), "Hero");

    // A button is an image too; without a sprite a rename changes only the button.
    ButtonPtr button = make<KXModelObjectButton>();
    button->setName("Play");
    EXPECT_EQ(button->name(), "Play");
    EXPECT_EQ(sprite->name(), "Hero");
}

TEST_F(ButtonModels, CopiesKeepValuesButStartANewPressCount) {
    ButtonPtr button = buttonWithInterval(3.0f);
    button->actionAttribute()->setValue("kPauseButton", true);
    button->resetPressCounter();
    button->countPress();
    button->setActionHeld();

    auto copy = std::static_pointer_cast<KXModelObjectButton>(button->clone(false, false));
    EXPECT_EQ(copy->action(), "kPauseButton");
    EXPECT_FLOAT_EQ(copy->interval(), 3.0f);
    EXPECT_EQ(copy->pressCounter(), 0);
    EXPECT_FALSE(copy->isActionHeld());
    EXPECT_TRUE(copy->blockTouch());
}

TEST_F(ButtonModels, ActionButtonStoresItsSelectionUnderTheNewName) {
    PowerupButtonPtr button = make<KXModelObjectButtonPowerup>();
    EXPECT_FLOAT_EQ(button->labelScale(), 0.5f);
    EXPECT_FLOAT_EQ(button->labelVerticalSpacing(), 100.0f);
    EXPECT_FLOAT_EQ(button->maxRefill(), 3.0f);
    EXPECT_EQ(button->attribute("Action"), nullptr);
    button->actionAttribute()->setValue("kPowerupMagnet", true);
    EXPECT_EQ(button->powerupSelection(), "kPowerupMagnet");

    installKeysOf(*button);
    ReadMap stored(packValuesToBytes(*button));
    EXPECT_TRUE(stored.keyNames().count("Powerup Selection"));
    EXPECT_FALSE(stored.keyNames().count("Action"));

    // The copy binds its action to the renamed attribute.
    auto copy = std::static_pointer_cast<KXModelObjectButtonPowerup>(button->clone(false, false));
    ASSERT_NE(copy->actionAttribute(), nullptr);
    EXPECT_EQ(copy->actionAttribute()->name(), "Powerup Selection");
    EXPECT_EQ(copy->powerupSelection(), "kPowerupMagnet");
}

TEST_F(ButtonModels, UnpackingAnActionButtonKeepsDefaultsOfMissingKeys) {
    PowerupButtonPtr button = make<KXModelObjectButtonPowerup>();
    installKeysOf(*button);

    MapWriter writer(3);
    writer.key("id").pack(77u);
    writer.key("Powerup Selection");
    writer.packer().pack_map(1);
    writer.key("value").pack(std::string("kPowerupShield"));
    writer.key("Max Refill");
    writer.packer().pack_map(1);
    writer.key("value").pack(5.0f);
    unpackValuesFromBytes(*button, writer.bytes());

    EXPECT_EQ(button->powerupSelection(), "kPowerupShield");
    EXPECT_FLOAT_EQ(button->maxRefill(), 5.0f);
    EXPECT_FLOAT_EQ(button->labelScale(), 0.5f);
    EXPECT_FLOAT_EQ(button->labelVerticalSpacing(), 100.0f);
}

} // namespace
