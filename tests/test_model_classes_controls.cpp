// Unlockers, labels, purchase buttons, obstacles, manipulators and accelerometers: defaults, the
// stored attribute order of the purchase button, copies, fixed content sizes, the obstacle's
// idle animation and shape, and the game's getters that interpret texts.
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cocos2d.h"
#include "model/KXMessagePackMap.h"
#include "model/KXModelController.h"
#include "model/attributes/KXAttributeGeometry.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelAnimation.h"
#include "model/classes/KXModelAssetObstacle.h"
#include "model/classes/KXModelObjectAccelerometer.h"
#include "model/classes/KXModelObjectButtonPowerup.h"
#include "model/classes/KXModelObjectButtonPurchase.h"
#include "model/classes/KXModelObjectLabel.h"
#include "model/classes/KXModelObjectManipulator.h"
#include "model/classes/KXModelObjectUnlocker.h"
#include "model/classes/KXModelPolygon.h"
#include "model/classes/KXModelSound.h"
#include "model/classes/KXModelSpriteContainer.h"
#include "model/references/KXAttributeAnimation.h"
#include "model/references/KXAttributeSound.h"
#include "support/model_class_helpers.h"
#include "support/model_test_models.h"
#include "tools/kxdata/KXGameWriter.h"

using cocos2d::CCPoint;
using cocos2d::CCSize;

namespace {

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override { resetModelCore(); }
    void TearDown() override { resetModelCore(); }

    // The names that follow `first` in the model's list (first included), `count` of them.
    static std::vector<std::string> namesFrom(const KXModel& model, const std::string& first, size_t count) {
        const std::vector<std::string> names = attributeNames(model);
        std::vector<std::string> run;
        for (size_t i = 0; i < names.size(); ++i) {
            if (names[i] == first) {
                for (size_t j = i; j < names.size() && run.size() < count; ++j) {
                    run.push_back(names[j]);
                }
                break;
            }
        }
        return run;
    }
};

TEST_F(ControlsTest, UnlockerAndAccelerometerHaveFixedSizesWhileManipulatorFollowsTheObjectRule) {
    auto unlocker = make<KXModelObjectUnlocker>();
    EXPECT_EQ(unlocker->name(), "Unlock");
    EXPECT_TRUE(unlocker->contentSize(0.0f).equals(CCSize(60, 60)));
    EXPECT_TRUE(unlocker->contentSize(12.5f).equals(CCSize(60, 60)));

    auto accelerometer = make<KXModelObjectAccelerometer>();
    EXPECT_TRUE(accelerometer->contentSize(3.0f).equals(CCSize(60, 60)));
    auto manipulator = make<KXModelObjectManipulator>();
    EXPECT_TRUE(manipulator->contentSize(3.0f).equals(CCSize(100, 100)));

    // The unlocker's two selections follow the scene object's attributes.
    EXPECT_EQ(namesFrom(*unlocker, "Unlock Type", 3), (std::vector<std::string>{"Unlock Type", "Object"}));
    EXPECT_EQ(namesFrom(*accelerometer, "Sensitivity", 5),
              (std::vector<std::string>{"Sensitivity", "Control Style", "Control Type", "Active Axes"}));
}

TEST_F(ControlsTest, ManipulatorKindsStopAtTheObject) {
    auto accelerometer = make<KXModelObjectAccelerometer>();
    EXPECT_TRUE(accelerometer->isKindOf(KXModelObjectAccelerometer::staticType()));
    EXPECT_TRUE(accelerometer->isKindOf(KXModelObjectManipulator::staticType()));
    EXPECT_TRUE(accelerometer->isKindOf(KXModelObject::staticType()));
    EXPECT_TRUE(accelerometer->isKindOf(KXModel::staticType()));
    auto manipulator = make<KXModelObjectManipulator>();
    EXPECT_FALSE(manipulator->isKindOf(KXModelObjectAccelerometer::staticType()));
    EXPECT_EQ(std::string(accelerometer->className()), "KXModelObjectAccelerometer");
    EXPECT_EQ(manipulator->name(), "");
}

TEST_F(ControlsTest, LabelDefaultsAndContentSizeComeFromCalculatedSize) {
    auto label = make<KXModelObjectLabel>();
    EXPECT_EQ(label->name(), "Untitled");
    EXPECT_TRUE(label->calculatedSize().equals(CCSize(100, 100)));
    EXPECT_FALSE(label->stickToEdge());
    EXPECT_EQ(label->text(), "");
    EXPECT_EQ(label->alignment(), "");
    EXPECT_EQ(label->tracking(), 0.0f);
    EXPECT_EQ(namesFrom(*label, "Action", 11),
              (std::vector<std::string>{"Action", "World", "Score Type", "Amount", "Alignment", "Text",
                                        "Font", "Tracking", "Stick To Edge", "Autohide", "Calculated Size"}));

    label->calculatedSizeAttribute()->setValue(CCSize(320, 48), true);
    EXPECT_TRUE(label->contentSize(5.0f).equals(CCSize(320, 48)));
    // The tracking takes any float, negative included.
    label->trackingAttribute()->setValue(-1e30f, true);
    EXPECT_EQ(label->tracking(), -1e30f);
}

TEST_F(ControlsTest, PurchaseButtonStoresItsSelectionUnderAnotherNameWithTypeAndThresholdBehindIt) {
    auto button = make<KXModelObjectButtonPurchase>();
    EXPECT_EQ(button->name(), "Purchase Button");
    EXPECT_EQ(button->attribute("Action"), nullptr);
    ASSERT_NE(button->attribute("Powerup Selection"), nullptr);
    EXPECT_EQ(button->quantity(), 1.0f);

    const std::vector<std::string> names = attributeNames(*button);
    const std::vector<std::string> run = namesFrom(*button, "Powerup Selection", 3);
    EXPECT_EQ(run, (std::vector<std::string>{"Powerup Selection", "Type", "Visibility Threshold"}));
    // The purchase's own attributes close the list, in their order.
    const std::vector<std::string> tail(names.end() - 8, names.end());
    EXPECT_EQ(tail,
              (std::vector<std::string>{"Buy And Use", "Quantity", "Purchase Complete", "Purchase Method",
                                        "Price", "One Time Purchase", "Store Identifier", "Ad Network"}));
    // ... and the button's attributes that followed "Action" sit between.
    auto plain = make<KXModelObjectButton>();
    EXPECT_EQ(names.size(), attributeNames(*plain).size() + 10);
}

TEST_F(ControlsTest, PurchaseButtonKindAndSelectionNumber) {
    auto button = make<KXModelObjectButtonPurchase>();
    EXPECT_TRUE(button->isKindOf(KXModelObjectButton::staticType()));
    EXPECT_TRUE(button->isKindOf(KXModelObjectImage::staticType()));
    EXPECT_TRUE(button->isKindOf(KXModelCompound::staticType()));

    KXAttributeStringList* selection = button->powerupSelectionAttribute();
    ASSERT_NE(selection, nullptr);
    selection->setValue("42", true);
    EXPECT_EQ(button->powerupSelectionId(), 42);
    selection->setValue("  17 coins", true);
    EXPECT_EQ(button->powerupSelectionId(), 17);
    selection->setValue("coins", true);
    EXPECT_EQ(button->powerupSelectionId(), 0);
    selection->setValue("", true);
    EXPECT_EQ(button->powerupSelectionId(), 0);
}

TEST_F(ControlsTest, PurchaseButtonCopyKeepsEveryValue) {
    auto source = make<KXModelObjectButtonPurchase>();
    auto sound = make<KXModelSound>();
    source->powerupSelectionAttribute()->setValue("9", true);
    source->typeAttribute()->setValue("kPurchaseRemoveAds", true);
    source->visibilityThresholdAttribute()->setValue(0.5f, true);
    source->buyAndUseAttribute()->setValue(true, true);
    source->quantityAttribute()->setValue(4.0f, true);
    source->purchaseCompleteAttribute()->setValue(sound, true);
    source->purchaseMethodAttribute()->setValue("kInAppPurchase", true);
    source->priceAttribute()->setValue(1.99f, true);
    source->oneTimePurchaseAttribute()->setValue("kYes", true);
    source->storeIdentifierAttribute()->setValue("com.example.noads", true);
    source->adNetworkAttribute()->setValue("kNoAds", true);

    auto copy = std::static_pointer_cast<KXModelObjectButtonPurchase>(source->clone(false, false));
    EXPECT_NE(copy->id(), source->id());
    EXPECT_EQ(copy->powerupSelectionId(), 9);
    EXPECT_EQ(copy->purchaseType(), "kPurchaseRemoveAds");
    EXPECT_EQ(copy->visibilityThreshold(), 0.5f);
    EXPECT_TRUE(copy->buyAndUse());
    EXPECT_EQ(copy->quantity(), 4.0f);
    EXPECT_EQ(copy->purchaseCompleteSound(), sound);
    EXPECT_EQ(copy->purchaseMethod(), "kInAppPurchase");
    EXPECT_EQ(copy->price(), 1.99f);
    EXPECT_EQ(copy->oneTimePurchase(), "kYes");
    EXPECT_EQ(copy->storeIdentifier(), "com.example.noads");
    EXPECT_EQ(copy->adNetwork(), "kNoAds");
    // The copy's members are its own attributes, not the source's.
    EXPECT_NE(copy->typeAttribute(), source->typeAttribute());
    EXPECT_EQ(copy->typeAttribute()->owner(), copy.get());
}

TEST_F(ControlsTest, ObstacleSetIdleAnimationNotifiesOnlyOnChange) {
    auto obstacle = make<KXModelAssetObstacle>();
    auto animation = make<KXModelAnimation>();
    RecordingObserver observer;
    obstacle->addObserver(&observer);

    obstacle->setIdleAnimation(animation);
    EXPECT_EQ(obstacle->idleAnimation(), animation);
    ASSERT_EQ(observer.events, (std::vector<std::string>{"attribute Idle Animation 0"}));
    EXPECT_EQ(animation->referrers().size(), 1u);

    obstacle->setIdleAnimation(animation);
    EXPECT_EQ(observer.events.size(), 1u);

    auto other = make<KXModelAnimation>();
    obstacle->setIdleAnimation(other);
    EXPECT_TRUE(animation->referrers().empty());
    EXPECT_EQ(other->referrers().size(), 1u);
    obstacle->removeObserver(&observer);
}

TEST_F(ControlsTest, ObstacleWithoutContainerGetsATenByTenBoxAroundTheOrigin) {
    auto obstacle = make<KXModelAssetObstacle>();
    EXPECT_EQ(obstacle->name(), "Obstacle");
    EXPECT_FALSE(obstacle->spriteContainer());
    ASSERT_FALSE(obstacle->collisionShape());

    obstacle->setIdleAnimationAndFitShape(nullptr);
    std::shared_ptr<KXModelPolygon> shape = obstacle->collisionShape();
    ASSERT_TRUE(shape);
    const std::vector<CCPoint> expected = {CCPoint(-5, -5), CCPoint(5, -5), CCPoint(5, 5), CCPoint(-5, 5)};
    ASSERT_EQ(shape->points().size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_TRUE(shape->points()[i].equals(expected[i])) << i;
    }
    // No animation was made for an empty container.
    EXPECT_FALSE(obstacle->idleAnimation());
}

TEST_F(ControlsTest, ObstacleShowsTheGivenContainerAndLoadingForgetsIt) {
    auto obstacle = make<KXModelAssetObstacle>();
    auto container = make<KXModelSpriteContainer>();
    obstacle->setIdleAnimationAndFitShape(container);
    EXPECT_EQ(obstacle->spriteContainer(), container);
    EXPECT_TRUE(obstacle->idleAnimation());
    EXPECT_TRUE(obstacle->collisionShape());

    // The frame source is never stored: a loaded obstacle has none.
    KXMessagePackMap::installKeyTable(
        kxdata::keyTableFor(kxdata::keyFileLines(kxdata::collectKeyNames({obstacle}))));
    msgpack::zone zone;
    KXMessagePackMap values(zone);
    obstacle->packValues(values);
    auto loaded = make<KXModelAssetObstacle>();
    loaded->unpackValues(KXMessagePackMap::fromObject(values.toObject()));
    EXPECT_FALSE(loaded->spriteContainer());
}

TEST_F(ControlsTest, PowerupButtonLayeringIsAboveCharacterOnlyForTheExactText) {
    auto button = make<KXModelObjectButtonPowerup>();
    KXAttributeStringList* layering = button->layeringAttribute();
    ASSERT_NE(layering, nullptr);
    EXPECT_FALSE(button->isLayeringAboveCharacter());
    layering->setValue("kAboveCharacter", true);
    EXPECT_TRUE(button->isLayeringAboveCharacter());
    for (const char* text :
         {"kAboveCharacter ", "kabovecharacter", "kAboveCharacte", "kBelowCharacter", ""}) {
        layering->setValue(text, true);
        EXPECT_FALSE(button->isLayeringAboveCharacter()) << '"' << text << '"';
    }
}

} // namespace
