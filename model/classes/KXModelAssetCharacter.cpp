#include "model/classes/KXModelAssetCharacter.h"

#include "model/classes/KXModelQueries.h"

#include <algorithm>
#include <vector>

KXModelAssetCharacter::KXModelAssetCharacter(const std::string& name) : KXBaseModelAssetCharacter(name) {}

KXModelAssetCharacter::KXModelAssetCharacter(const KXModelAssetCharacter& source)
    : KXBaseModelAssetCharacter(source) {}

float characterGameOverDelay(int characterIndex) {
    constexpr float kUnknownCharacterDelay = 1.0f;
    const std::vector<std::shared_ptr<KXModelAssetCharacter>> characters = getModels<KXModelAssetCharacter>();
    if (characterIndex < 0 || static_cast<size_t>(characterIndex) >= characters.size()) {
        return kUnknownCharacterDelay;
    }
    const KXModelAssetCharacter& character = *characters[static_cast<size_t>(characterIndex)];
    return std::max(character.gameOverDelay(), character.cameraFlash());
}
