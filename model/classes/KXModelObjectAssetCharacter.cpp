#include "model/classes/KXModelObjectAssetCharacter.h"

#include "model/classes/KXModelCasts.h"

KXModelObjectAssetCharacter::KXModelObjectAssetCharacter(const std::string& name)
    : KXModelObjectAsset(name) {}

KXModelObjectAssetCharacter::KXModelObjectAssetCharacter(const KXModelObjectAssetCharacter& source)
    : KXModelObjectAsset(source) {}

std::shared_ptr<KXModelAssetCharacter> KXModelObjectAssetCharacter::characterAsset() const {
    return modelCast<KXModelAssetCharacter>(asset());
}
