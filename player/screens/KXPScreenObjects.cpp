// The runtime objects a screen makes for its screen objects (buttons aside): one row per model
// class, found by the model's exact class. Each object made is traced under its row's name
// (player/KXPKinds.h).
#include "player/screens/KXPScreen.h"

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
#include "player/objects/KXPObjectCharacterSelector.h"
#include "player/objects/KXPObjectEventObserver.h"
#include "player/objects/KXPObjectImage.h"
#include "player/objects/KXPObjectLoadingBar.h"
#include "player/objects/KXPObjectText.h"
#include "player/objects/buttons/KXPObjectButtonJoystick.h"
#include "player/objects/controls/KXPObjectAccelerometer.h"
#include "player/objects/controls/KXPObjectSwipeControl.h"
#include "player/screens/KXPUnlockActions.h"

using namespace cocos2d;

namespace {

using ObjectPointer = std::shared_ptr<KXModelObject>;

constexpr const char* kFactory = "screen";

struct ScreenObjectKind {
    uint32_t modelType;
    const char* name;
    // Whether the screen updates the object every frame.
    bool updated;
    // Whether the row acts and shows nothing: a null node is then no failure.
    bool showsNothing;
    CCNode* (*make)(const ObjectPointer& model);
};

CCNode* makeImage(const ObjectPointer& model) {
    return KXPObjectImage::create(modelCast<KXModelObjectImage>(model), 1.0f, true);
}

CCNode* makeText(const ObjectPointer& model) {
    return KXPObjectText::create(modelCast<KXModelObjectLabel>(model));
}

CCNode* makeObserver(const ObjectPointer& model) {
    return KXPObjectEventObserver::create(modelCast<KXModelObjectEventObserver>(model));
}

CCNode* makeLoadingBar(const ObjectPointer& model) {
    return KXPObjectLoadingBar::create(model);
}

CCNode* makeJoystick(const ObjectPointer& model) {
    return KXPObjectButtonJoystick::create(modelCast<KXModelObjectManipulator>(model));
}

// The one tilt control takes the screen's model.
CCNode* takeTilt(const ObjectPointer& model) {
    KXPObjectAccelerometer::shared()->setModel(modelCast<KXModelObjectAccelerometer>(model));
    return nullptr;
}

CCNode* makeSwipe(const ObjectPointer& model) {
    return KXPObjectSwipeControl::create(modelCast<KXModelObjectSwipeControl>(model));
}

CCNode* makeSelector(const ObjectPointer& model) {
    return KXPObjectCharacterSelector::create(modelCast<KXModelObjectCharacterSelector>(model));
}

// An unlocker acts once, as its screen is built.
CCNode* runUnlocker(const ObjectPointer& model) {
    if (const auto unlocker = modelCast<KXModelObjectUnlocker>(model)) {
        KXPUnlockActions::run(*unlocker);
    }
    return nullptr;
}

// Texts update every frame so that scores and the loading counter stay current; observers watch
// their condition every frame; the bar poses itself as it draws.
const ScreenObjectKind kScreenObjectKinds[] = {
    {KXModelObjectImage::staticType(), "image", true, false, &makeImage},
    {KXModelObjectLabel::staticType(), "text", true, false, &makeText},
    {KXModelObjectEventObserver::staticType(), "observer", true, false, &makeObserver},
    {KXModelObjectLoadingBar::staticType(), "loading-bar", false, false, &makeLoadingBar},
    {KXModelObjectManipulator::staticType(), "joystick", true, false, &makeJoystick},
    {KXModelObjectAccelerometer::staticType(), "tilt", false, true, &takeTilt},
    {KXModelObjectSwipeControl::staticType(), "swipe", false, false, &makeSwipe},
    {KXModelObjectCharacterSelector::staticType(), "character-selector", true, false, &makeSelector},
    {KXModelObjectUnlocker::staticType(), "unlocker", false, true, &runUnlocker},
};

} // namespace

CCNode* KXPScreen::makeObject(const std::shared_ptr<KXModelObject>& model, bool* updated) {
    *updated = false;
    const uint32_t type = model->typeId();
    for (const ScreenObjectKind& kind : kScreenObjectKinds) {
        if (kind.modelType != type) {
            continue;
        }
        CCNode* node = kind.make(model);
        if (node != nullptr || kind.showsNothing) {
            kxKindMade(kFactory, kind.name);
        }
        *updated = node != nullptr && kind.updated;
        return node;
    }
    return nullptr;
}

KXPKindTable KXPScreen::objectKindTable() {
    KXPKindTable table{kFactory, {}};
    for (const ScreenObjectKind& kind : kScreenObjectKinds) {
        table.rows.push_back(kind.name);
    }
    return table;
}
