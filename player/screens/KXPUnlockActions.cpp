#include "player/screens/KXPUnlockActions.h"

#include <cstdint>
#include <sstream>
#include <string>

#include "model/classes/KXModelAssetCharacter.h"
#include "model/classes/KXModelObjectLockButton.h"
#include "model/classes/KXModelObjectUnlocker.h"
#include "model/classes/KXModelQueries.h"
#include "player/app/KXPScreensController.h"
#include "player/store/KXPLockStateTable.h"
#include "player/store/KXPSettingsController.h"

void KXPUnlockActions::run(const KXModelObjectUnlocker& unlocker) {
    unlockCharacter(unlocker);
    unlockScene(unlocker);
}

void KXPUnlockActions::unlockScene(const KXModelObjectUnlocker& unlocker) {
    const std::string& object = unlocker.unlockObject();
    if (unlocker.unlockType() != kSceneUnlock || object.empty()) {
        return;
    }
    if (object != kUnlockNext && object != kUnlockCurrent) {
        lockState(object) = false;
        return;
    }
    KXPScreensController* screens = KXPScreensController::shared();
    uint32_t sectionId = screens->currentLevelSectionId();
    if (object == kUnlockNext) {
        sectionId = screens->nextLevelSectionId(sectionId);
    }
    std::ostringstream text;
    text << sectionId;
    for (const std::shared_ptr<KXModelObjectLockButton>& button : getModels<KXModelObjectLockButton>()) {
        if (button->destination() == kSceneDestination && button->scene() == text.str()) {
            lockState(button->name()) = false;
        }
    }
}

void KXPUnlockActions::unlockCharacter(const KXModelObjectUnlocker& unlocker) {
    const std::string& object = unlocker.unlockObject();
    if (unlocker.unlockType() != kCharacterUnlock || object.empty()) {
        return;
    }
    KXPSettingsController* settings = KXPSettingsController::shared();
    uint32_t index = 0;
    for (const std::shared_ptr<KXModelAssetCharacter>& character : getModels<KXModelAssetCharacter>()) {
        if (character->name() == object) {
            settings->unlockCharacter(index);
            settings->save();
        }
        ++index;
    }
}
