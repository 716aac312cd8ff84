#include "player/store/KXPCharacterUnlock.h"

#include <vector>

#include "model/KXDebugLog.h"
#include "model/classes/KXModelAssetCharacter.h"
#include "model/classes/KXModelQueries.h"
#include "player/store/KXPCoinPayment.h"
#include "player/store/KXPSettingsController.h"

int KXPCharacterUnlock::characterCount() {
    return static_cast<int>(getModels<KXModelAssetCharacter>().size());
}

std::shared_ptr<KXModelAssetCharacter> KXPCharacterUnlock::character(int index) {
    const std::vector<std::shared_ptr<KXModelAssetCharacter>> characters = getModels<KXModelAssetCharacter>();
    if (index < 0 || static_cast<size_t>(index) >= characters.size()) {
        return nullptr;
    }
    return characters[static_cast<size_t>(index)];
}

bool KXPCharacterUnlock::isUnlocked(int index) {
    if (index < 0 || index >= characterCount()) {
        return false;
    }
    return KXPSettingsController::shared()->isCharacterUnlocked(static_cast<uint32_t>(index));
}

bool KXPCharacterUnlock::payWithCoins(const KXModelAssetCharacter& character) {
    if (payGlobalCoins(character.price())) {
        return true;
    }
    debugLog("not enought coins to unlock");
    return false;
}

void KXPCharacterUnlock::grant(int index) {
    if (index < 0 || index >= characterCount()) {
        return;
    }
    KXPSettingsController* settings = KXPSettingsController::shared();
    settings->unlockCharacter(static_cast<uint32_t>(index));
    settings->setSelectedCharacter(index);
    settings->save();
}
