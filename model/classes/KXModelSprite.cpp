#include "model/classes/KXModelSprite.h"

std::shared_ptr<KXModel> KXModelSprite::create() {
    return KXModel::makeShared<KXModelSprite>(kDefaultObjectName);
}

std::shared_ptr<KXModel> KXModelSprite::createCopy(const KXModelSprite& source) {
    return KXModel::makeShared<KXModelSprite>(source);
}

KXModelSprite::KXModelSprite(const std::string& name) : KXBaseModelSprite(name) {}

KXModelSprite::KXModelSprite(const KXModelSprite& source) : KXBaseModelSprite(source) {}

std::shared_ptr<KXModel> KXModelSprite::clone(bool deep, bool registerClone) const {
    return finishClone(createCopy(*this), deep, registerClone);
}
