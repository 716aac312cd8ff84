// The tilt control fed through the engine's accelerometer hook (the machine has no sensor): lean
// strength and side in landscape, nothing in portrait, the move mode's axes and its absolute
// target, and the control's hold on the accelerometer.

#include "model/attributes/KXAttributeGeometry.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelGeneralSettings.h"
#include "model/classes/KXModelObjectAccelerometer.h"
#include "model/classes/KXModelObjectManipulator.h"
#include "player/input/KXPInputController.h"
#include "player/objects/controls/KXPObjectAccelerometer.h"
#include "support/field_test_support.h"
#include "support/model_class_helpers.h"
#include "support/model_test_models.h"
#include "support/scene_test_support.h"

#include "cocos2d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace cocos2d;
using kxtest::FakeCharacter;

namespace {

class TiltControl : public kxtest::SceneTest {
protected:
    KXPInputController* input = nullptr;
    KXPObjectAccelerometer* tilt = nullptr;
    FakeCharacter* runner = nullptr;

    void SetUp() override {
        SceneTest::SetUp();
        resetModelCore();
        KXModelGeneralSettings::resetShared();
        landscape(true);
        KXPObjectAccelerometer::purgeShared();
        tilt = KXPObjectAccelerometer::shared();
        input = KXPInputController::shared();
        runner = FakeCharacter::create();
        input->addCharacter(runner);
        runner->directions.clear();
    }
    void TearDown() override {
        KXPObjectAccelerometer::purgeShared();
        KXPInputController::purgeShared();
        SceneTest::TearDown();
        KXModelGeneralSettings::resetShared();
        resetModelCore();
    }

    static void landscape(bool on) {
        KXModelGeneralSettings::shared()->orientationAttribute()->setValue(
            on ? KXBaseModelGeneralSettings::OrientationLandscape
               : KXBaseModelGeneralSettings::OrientationPortrait,
            true);
    }
    std::shared_ptr<KXModelObjectAccelerometer> use(const std::string& type, const std::string& axes = "",
                                                    float sensitivity = 1.0f, const std::string& style = "") {
        auto model = make<KXModelObjectAccelerometer>();
        model->controlTypeAttribute()->setValue(type, true);
        model->activeAxesAttribute()->setValue(axes, true);
        model->sensitivityAttribute()->setValue(sensitivity, true);
        model->controlStyleAttribute()->setValue(style, true);
        tilt->setModel(model);
        return model;
    }
    // One reading through the engine's hook, as a sensor would deliver it.
    static void feed(double x, double y) {
        director()->getAccelerometer()->simulateAcceleration(x, y, 0.0, 0.0);
    }
};

TEST_F(TiltControl, LeanModeLeansBySideAndStrengthInLandscape) {
    use("kControlTypeLean");
    feed(0.2, 0.9);
    EXPECT_FLOAT_EQ(runner->leanStrength, 0.4f);
    EXPECT_EQ(runner->calls, (std::vector<std::string>{"startRightLean", "stopLeftLean"}));

    runner->calls.clear();
    feed(-0.7, 0.0);
    EXPECT_FLOAT_EQ(runner->leanStrength, 1.0f);
    EXPECT_EQ(runner->calls, (std::vector<std::string>{"startLeftLean", "stopRightLean"}));

    // Level leans left, with no strength.
    runner->calls.clear();
    feed(0.0, 0.0);
    EXPECT_FLOAT_EQ(runner->leanStrength, 0.0f);
    EXPECT_EQ(runner->calls, (std::vector<std::string>{"startLeftLean", "stopRightLean"}));
    // Leaning never steers.
    EXPECT_TRUE(runner->directions.empty());
}

TEST_F(TiltControl, LeanModeDoesNothingInPortrait) {
    landscape(false);
    use("");
    feed(0.5, 0.5);
    EXPECT_TRUE(runner->calls.empty());
    EXPECT_FLOAT_EQ(runner->leanStrength, 1.0f);
}

TEST_F(TiltControl, MoveModeSteersOnTheActiveAxes) {
    const struct {
        const char* axes;
        CCPoint direction;
    } cases[] = {
        {"kActiveAxeX", CCPoint(1.0f, 0.0f)},
        {"kActiveAxeY", CCPoint(0.0f, -0.6f)},
        {"", CCPoint(1.0f, -0.6f)},
    };
    for (const auto& entry : cases) {
        use(KXPObjectAccelerometer::kControlTypeMove, entry.axes, 2.0f);
        // Portrait does not matter to moving.
        landscape(false);
        feed(0.5, -0.3);
        EXPECT_NEAR(runner->direction().x, entry.direction.x, 1e-6) << entry.axes;
        EXPECT_NEAR(runner->direction().y, entry.direction.y, 1e-6) << entry.axes;
        EXPECT_TRUE(runner->calls.empty());
    }
}

TEST_F(TiltControl, AbsoluteMovePlacesTheTargetOnTheDesignArea) {
    KXModelGeneralSettings::shared()->designSizeAttribute()->setValue(CCSize(1136.0f, 640.0f), true);
    use(KXPObjectAccelerometer::kControlTypeMove, "", 1.0f, KXPObjectManipulator::kControlStyleAbsolute);
    feed(1.0, -1.0);
    EXPECT_TRUE(runner->control.equals(CCPoint(1136.0f, 0.0f)));
    feed(0.0, 0.0);
    EXPECT_TRUE(runner->control.equals(CCPoint(568.0f, 320.0f)));
    EXPECT_TRUE(runner->directions.empty());
}

TEST_F(TiltControl, OnlyATiltModelSteersAndBrokenReadingsAreDropped) {
    EXPECT_FLOAT_EQ(tilt->sensitivity(), 0.0f);
    feed(0.5, 0.5);

    // A joystick's model is not a tilt model.
    auto joystick = make<KXModelObjectManipulator>();
    joystick->sensitivityAttribute()->setValue(3.0f, true);
    tilt->setModel(joystick);
    EXPECT_EQ(tilt->accelerometerModel(), nullptr);
    EXPECT_FLOAT_EQ(tilt->sensitivity(), 0.0f);
    feed(0.5, 0.5);

    use(KXPObjectAccelerometer::kControlTypeMove, "", 1.0f);
    feed(std::nan(""), 0.5);
    feed(0.5, INFINITY);
    EXPECT_TRUE(runner->directions.empty());
    EXPECT_TRUE(runner->calls.empty());

    // An empty model switches it off again.
    tilt->setModel(nullptr);
    feed(0.5, 0.5);
    EXPECT_TRUE(runner->directions.empty());
}

TEST_F(TiltControl, TheControlHoldsTheAccelerometerWhileItHasAModel) {
    CCAccelerometer* accelerometer = director()->getAccelerometer();
    EXPECT_EQ(accelerometer->getDelegate(), tilt);
    // The director lets go of every input delegate when it is purged; a model takes it back.
    director()->purgeDirector();
    EXPECT_EQ(accelerometer->getDelegate(), nullptr);
    use(KXPObjectAccelerometer::kControlTypeMove);
    EXPECT_EQ(accelerometer->getDelegate(), tilt);
    KXPObjectAccelerometer::purgeShared();
    EXPECT_EQ(accelerometer->getDelegate(), nullptr);
    feed(0.5, 0.5);
    EXPECT_TRUE(runner->directions.empty());
    tilt = KXPObjectAccelerometer::shared();
    EXPECT_EQ(accelerometer->getDelegate(), tilt);
}

} // namespace
