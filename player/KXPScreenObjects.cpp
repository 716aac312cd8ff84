// The runtime objects a screen makes for its screen objects (buttons aside). Each kind of object
// joins the screen here.
#include "player/KXPScreen.h"

#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelObjectAccelerometer.h"
#include "model/classes/KXModelObjectCharacterSelector.h"
#include "model/classes/KXModelObjectEventObserver.h"
#include "model/classes/KXModelObjectImage.h"
#include "model/classes/KXModelObjectLabel.h"
#include "model/classes/KXModelObjectLoadingBar.h"
#include "model/classes/KXModelObjectManipulator.h"
#include "model/classes/KXModelObjectSwipeControl.h"
#include "model/classes/KXModelObjectUnlocker.h"
#include "player/KXPUnlockActions.h"
#include "player/objects/KXPObjectAccelerometer.h"
#include "player/objects/KXPObjectButtonJoystick.h"
#include "player/objects/KXPObjectCharacterSelector.h"
#include "player/objects/KXPObjectEventObserver.h"
#include "player/objects/KXPObjectImage.h"
#include "player/objects/KXPObjectLoadingBar.h"
#include "player/objects/KXPObjectSwipeControl.h"
#include "player/objects/KXPObjectText.h"

using namespace cocos2d;

CCNode* KXPScreen::makeObject(const std::shared_ptr<KXModelObject>& model, bool* updated) {
    *updated = false;
    const uint32_t type = model->typeId();
    if (type == KXModelObjectImage::staticType()) {
        *updated = true;
        return KXPObjectImage::create(modelCast<KXModelObjectImage>(model), 1.0f, true);
    }
    if (type == KXModelObjectLabel::staticType()) {
        // Texts update every frame, so that scores and the loading counter stay current.
        *updated = true;
        return KXPObjectText::create(modelCast<KXModelObjectLabel>(model));
    }
    if (type == KXModelObjectEventObserver::staticType()) {
        // Watches its condition every frame.
        *updated = true;
        return KXPObjectEventObserver::create(modelCast<KXModelObjectEventObserver>(model));
    }
    if (type == KXModelObjectLoadingBar::staticType()) {
        // The bar poses itself as it draws.
        return KXPObjectLoadingBar::create(model);
    }
    if (type == KXModelObjectManipulator::staticType()) {
        *updated = true;
        return KXPObjectButtonJoystick::create(modelCast<KXModelObjectManipulator>(model));
    }
    if (type == KXModelObjectAccelerometer::staticType()) {
        // The one tilt control takes the screen's model; nothing is shown.
        KXPObjectAccelerometer::shared()->setModel(modelCast<KXModelObjectAccelerometer>(model));
        return nullptr;
    }
    if (type == KXModelObjectSwipeControl::staticType()) {
        return KXPObjectSwipeControl::create(modelCast<KXModelObjectSwipeControl>(model));
    }
    if (type == KXModelObjectCharacterSelector::staticType()) {
        *updated = true;
        return KXPObjectCharacterSelector::create(modelCast<KXModelObjectCharacterSelector>(model));
    }
    if (type == KXModelObjectUnlocker::staticType()) {
        // An unlocker acts once, as its screen is built, and shows nothing.
        if (const auto unlocker = modelCast<KXModelObjectUnlocker>(model)) {
            KXPUnlockActions::run(*unlocker);
        }
        return nullptr;
    }
    return nullptr;
}
