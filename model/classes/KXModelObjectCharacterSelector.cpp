#include "model/classes/KXModelObjectCharacterSelector.h"

std::shared_ptr<KXModel> KXModelObjectCharacterSelector::create() {
    return KXModel::makeShared<KXModelObjectCharacterSelector>(kDefaultObjectName);
}

std::shared_ptr<KXModel>
KXModelObjectCharacterSelector::createCopy(const KXModelObjectCharacterSelector& source) {
    return KXModel::makeShared<KXModelObjectCharacterSelector>(source);
}

KXModelObjectCharacterSelector::KXModelObjectCharacterSelector(const std::string& name)
    : KXBaseModelObjectCharacterSelector(name) {}

KXModelObjectCharacterSelector::KXModelObjectCharacterSelector(const KXModelObjectCharacterSelector& source)
    : KXBaseModelObjectCharacterSelector(source) {}

std::shared_ptr<KXModel> KXModelObjectCharacterSelector::clone(bool deep, bool registerClone) const {
    return finishClone(createCopy(*this), deep, registerClone);
}
