#include "model/classes/KXModelAssetCharacter.h"

#include "model/classes/KXModelQueries.h"

#include <algorithm>
#include <vector>

std::shared_ptr<KXModel> KXModelAssetCharacter::create() {
    return KXModel::makeShared<KXModelAssetCharacter>(kDefaultObjectName);
}

std::shared_ptr<KXModel> KXModelAssetCharacter::createCopy(const KXModelAssetCharacter& source) {
    return KXModel::makeShared<KXModelAssetCharacter>(source);
}

KXModelAssetCharacter::KXModelAssetCharacter(const std::string& name) : KXBaseModelAssetCharacter(name) {}

KXModelAssetCharacter::KXModelAssetCharacter(const KXModelAssetCharacter& source)
    : KXBaseModelAssetCharacter(source) {}

std::shared_ptr<KXModel> KXModelAssetCharacter::clone(bool deep, bool registerClone) const {
    return finishClone(createCopy(*this), deep, registerClone);
}

float characterGameOverDelay(int characterIndex) {
    constexpr float kUnknownCharacterDelay = 1.0f;
    const std::vector<std::shared_ptr<KXModelAssetCharacter>> characters = getModels<KXModelAssetCharacter>();
    if (characterIndex < 0 || static_cast<size_t>(characterIndex) >= characters.size()) {
        return kUnknownCharacterDelay;
    }
    const KXModelAssetCharacter& character = *characters[static_cast<size_t>(characterIndex)];
    return std::max(character.gameOverDelay(), character.cameraFlash());
}
