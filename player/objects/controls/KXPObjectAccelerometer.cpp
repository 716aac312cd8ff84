#include "player/objects/controls/KXPObjectAccelerometer.h"

#include "model/attributes/KXAttributeGeometry.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelGeneralSettings.h"
#include "model/classes/KXModelObjectAccelerometer.h"
#include "player/input/KXPControlledCharacter.h"
#include "player/input/KXPInputController.h"

#include <algorithm>
#include <cmath>

using namespace cocos2d;

namespace {

KXPObjectAccelerometer* g_sharedAccelerometer = nullptr;

constexpr int kLandscape = 1;

CCAccelerometer* accelerometer() {
    return CCDirector::sharedDirector()->getAccelerometer();
}

} // namespace

KXPObjectAccelerometer* KXPObjectAccelerometer::shared() {
    if (g_sharedAccelerometer == nullptr) {
        new KXPObjectAccelerometer();
    }
    return g_sharedAccelerometer;
}

void KXPObjectAccelerometer::purgeShared() {
    if (g_sharedAccelerometer != nullptr) {
        g_sharedAccelerometer->release();
    }
}

KXPObjectAccelerometer::KXPObjectAccelerometer() {
    g_sharedAccelerometer = this;
    accelerometer()->setDelegate(this);
}

KXPObjectAccelerometer::~KXPObjectAccelerometer() {
    if (accelerometer()->getDelegate() == this) {
        accelerometer()->setDelegate(nullptr);
    }
    g_sharedAccelerometer = nullptr;
}

void KXPObjectAccelerometer::setModel(const std::shared_ptr<KXModelObjectManipulator>& model) {
    KXPObjectManipulator::setModel(model);
    if (m_model) {
        accelerometer()->setDelegate(this);
    }
}

std::shared_ptr<KXModelObjectAccelerometer> KXPObjectAccelerometer::accelerometerModel() const {
    return modelCast<KXModelObjectAccelerometer>(m_model);
}

float KXPObjectAccelerometer::sensitivity() {
    const std::shared_ptr<KXModelObjectAccelerometer> model = accelerometerModel();
    return model ? model->sensitivity() : 0.0f;
}

void KXPObjectAccelerometer::didAccelerate(CCAcceleration* acceleration) {
    const std::shared_ptr<KXModelObjectAccelerometer> model = accelerometerModel();
    if (!model || acceleration == nullptr) {
        return;
    }
    // A broken reading would carry NaN into the characters' physics.
    if (!std::isfinite(acceleration->x) || !std::isfinite(acceleration->y)) {
        return;
    }
    if (model->controlType() == kControlTypeMove) {
        move(*model, acceleration->x, acceleration->y);
    } else if (KXModelGeneralSettings::shared()->orientation() == kLandscape) {
        lean(acceleration->x);
    }
}

void KXPObjectAccelerometer::lean(double x) {
    KXPInputController* input = KXPInputController::existing();
    if (input == nullptr) {
        return;
    }
    const float strength = static_cast<float>(std::min(std::fabs(x) * 2.0, 1.0));
    input->forEachCharacter([strength, x](KXPControlledCharacter* character) {
        character->setLeanStrength(strength);
        if (x <= 0.0) {
            character->startLeftLean();
            character->stopRightLean();
        } else {
            character->startRightLean();
            character->stopLeftLean();
        }
    });
}

void KXPObjectAccelerometer::move(const KXModelObjectAccelerometer& model, double x, double y) {
    KXPInputController* input = KXPInputController::existing();
    if (input == nullptr) {
        return;
    }
    const std::string& axes = model.activeAxes();
    if (axes == kActiveAxeX) {
        y = 0.0;
    } else if (axes == kActiveAxeY) {
        x = 0.0;
    }
    const float factor = sensitivity();
    const float tiltX = factor * static_cast<float>(x);
    const float tiltY = factor * static_cast<float>(y);
    if (!m_absolute) {
        input->sendDirection(CCPoint(tiltX, tiltY));
        return;
    }
    // A level device puts the target in the middle of the design area; a full tilt on its edge.
    const CCSize design = KXModelGeneralSettings::shared()->designSizeAttribute()->value();
    const CCPoint target(design.width * 0.5f + tiltX * design.width * 0.5f,
                         design.height * 0.5f + tiltY * design.height * 0.5f);
    input->forEachCharacter(
        [&target](KXPControlledCharacter* character) { character->setControlPosition(target); });
}
