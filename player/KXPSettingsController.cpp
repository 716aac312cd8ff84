#include "player/KXPSettingsController.h"

#include "model/KXDebugLog.h"
#include "model/classes/KXModelAssetCharacter.h"

using namespace cocos2d;

namespace {
KXPSettingsController* sharedController = nullptr;
} // namespace

KXPSettingsController* KXPSettingsController::shared() {
    if (sharedController == nullptr) {
        sharedController = new KXPSettingsController();
    }
    return sharedController;
}

void KXPSettingsController::purgeShared() {
    if (sharedController != nullptr) {
        sharedController->release();
        sharedController = nullptr;
    }
}

KXPSettingsController::KXPSettingsController() = default;

KXPSettingsController::~KXPSettingsController() = default;

void KXPSettingsController::load() {
    debugLog("[KXPSettingsController] - load");
    CCUserDefault* store = CCUserDefault::sharedUserDefault();
    m_selectedCharacter = store->getIntegerForKey(kSelectedCharacterKey);
    m_removeAds = store->getBoolForKey(kRemoveAdsKey);
    m_fullscreen = store->getBoolForKey(kFullscreenKey);
    muteEffects = store->getBoolForKey(kMuteEffectsKey);
    muteBackground = store->getBoolForKey(kMuteBackgroundKey);
    debugLog("[KXPSettingsController] - load complete");
}

float selectedCharacterGameOverDelay() {
    return characterGameOverDelay(KXPSettingsController::shared()->selectedCharacter());
}
