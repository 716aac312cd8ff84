#include "model/classes/KXModelObjectAssetUnit.h"

std::shared_ptr<KXModel> KXModelObjectAssetUnit::create() {
    return KXModel::makeShared<KXModelObjectAssetUnit>(kDefaultObjectName);
}

std::shared_ptr<KXModel> KXModelObjectAssetUnit::createCopy(const KXModelObjectAssetUnit& source) {
    return KXModel::makeShared<KXModelObjectAssetUnit>(source);
}

KXModelObjectAssetUnit::KXModelObjectAssetUnit(const std::string& name) : KXBaseModelObjectAssetUnit(name) {}

KXModelObjectAssetUnit::KXModelObjectAssetUnit(const KXModelObjectAssetUnit& source)
    : KXBaseModelObjectAssetUnit(source) {}

std::shared_ptr<KXModel> KXModelObjectAssetUnit::clone(bool deep, bool registerClone) const {
    return finishClone(createCopy(*this), deep, registerClone);
}
