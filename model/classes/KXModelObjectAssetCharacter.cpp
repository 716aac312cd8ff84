#include "model/classes/KXModelObjectAssetCharacter.h"

#include "model/classes/KXModelCasts.h"

std::shared_ptr<KXModel> KXModelObjectAssetCharacter::create() {
    return KXModel::makeShared<KXModelObjectAssetCharacter>(kDefaultObjectName);
}

std::shared_ptr<KXModel> KXModelObjectAssetCharacter::createCopy(const KXModelObjectAssetCharacter& source) {
    return KXModel::makeShared<KXModelObjectAssetCharacter>(source);
}

KXModelObjectAssetCharacter::KXModelObjectAssetCharacter(const std::string& name)
    : KXModelObjectAsset(name) {}

KXModelObjectAssetCharacter::KXModelObjectAssetCharacter(const KXModelObjectAssetCharacter& source)
    : KXModelObjectAsset(source) {}

std::shared_ptr<KXModel> KXModelObjectAssetCharacter::clone(bool deep, bool registerClone) const {
    return finishClone(createCopy(*this), deep, registerClone);
}

std::shared_ptr<KXModelAssetCharacter> KXModelObjectAssetCharacter::characterAsset() const {
    return modelCast<KXModelAssetCharacter>(asset());
}
