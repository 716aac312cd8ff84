#include "model/classes/KXModelSpriteContainer.h"

std::shared_ptr<KXModel> KXModelSpriteContainer::create() {
    return KXModel::makeShared<KXModelSpriteContainer>(kDefaultObjectName);
}

std::shared_ptr<KXModel> KXModelSpriteContainer::createCopy(const KXModelSpriteContainer& source) {
    return KXModel::makeShared<KXModelSpriteContainer>(source);
}

KXModelSpriteContainer::KXModelSpriteContainer(const std::string& name) : KXBaseModelSpriteContainer(name) {}

KXModelSpriteContainer::KXModelSpriteContainer(const KXModelSpriteContainer& source)
    : KXBaseModelSpriteContainer(source) {}

std::shared_ptr<KXModel> KXModelSpriteContainer::clone(bool deep, bool registerClone) const {
    return finishClone(createCopy(*this), deep, registerClone);
}
