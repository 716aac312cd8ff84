#pragma once

// The tilt control, one for the process: the screen that has a tilt object gives it its model,
// and the device's tilt then steers the characters. Lean mode (landscape only) leans them left or
// right by the sideways tilt; move mode gives them a direction, or in the absolute style places
// their target on the design area. The desktop has no sensor: readings arrive only through the
// engine's accelerometer hook (CCAccelerometer::simulateAcceleration).

#include "player/objects/controls/KXPObjectManipulator.h"

class KXModelObjectAccelerometer;

class KXPObjectAccelerometer : public KXPObjectManipulator, public cocos2d::CCAccelerometerDelegate {
public:
    static constexpr const char* kControlTypeMove = "kControlTypeMove";
    static constexpr const char* kActiveAxeX = "kActiveAxeX";
    static constexpr const char* kActiveAxeY = "kActiveAxeY";

    // The instance, made on first use; it listens to the director's accelerometer.
    static KXPObjectAccelerometer* shared();
    // Deletes the instance, if any; it stops listening.
    static void purgeShared();

    // An empty model switches the control off. A model makes the control listen again, should
    // the accelerometer have been handed to someone else meanwhile.
    void setModel(const std::shared_ptr<KXModelObjectManipulator>& model) override;
    // The model as a tilt model; empty for any other kind.
    std::shared_ptr<KXModelObjectAccelerometer> accelerometerModel() const;
    // The tilt model's "Sensitivity"; 0 without one.
    float sensitivity() override;

    // One reading, x and y in g.
    void didAccelerate(cocos2d::CCAcceleration* acceleration) override;

private:
    KXPObjectAccelerometer();
    ~KXPObjectAccelerometer() override;

    void lean(double x);
    void move(const KXModelObjectAccelerometer& model, double x, double y);
};
