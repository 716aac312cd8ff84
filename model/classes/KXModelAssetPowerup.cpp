#include "model/classes/KXModelAssetPowerup.h"

std::shared_ptr<KXModel> KXModelAssetPowerup::create() {
    return KXModel::makeShared<KXModelAssetPowerup>(kDefaultObjectName);
}

std::shared_ptr<KXModel> KXModelAssetPowerup::createCopy(const KXModelAssetPowerup& source) {
    return KXModel::makeShared<KXModelAssetPowerup>(source);
}

KXModelAssetPowerup::KXModelAssetPowerup(const std::string& name) : KXBaseModelAssetPowerup(name) {}

KXModelAssetPowerup::KXModelAssetPowerup(const KXModelAssetPowerup& source)
    : KXBaseModelAssetPowerup(source) {}

std::shared_ptr<KXModel> KXModelAssetPowerup::clone(bool deep, bool registerClone) const {
    return finishClone(createCopy(*this), deep, registerClone);
}
