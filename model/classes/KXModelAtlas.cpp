#include "model/classes/KXModelAtlas.h"

std::shared_ptr<KXModel> KXModelAtlas::create() {
    return KXModel::makeShared<KXModelAtlas>(kDefaultObjectName);
}

std::shared_ptr<KXModel> KXModelAtlas::createCopy(const KXModelAtlas& source) {
    return KXModel::makeShared<KXModelAtlas>(source);
}

KXModelAtlas::KXModelAtlas(const std::string& name) : KXBaseModelAtlas(name) {}

KXModelAtlas::KXModelAtlas(const KXModelAtlas& source) : KXBaseModelAtlas(source) {}

std::shared_ptr<KXModel> KXModelAtlas::clone(bool deep, bool registerClone) const {
    return finishClone(createCopy(*this), deep, registerClone);
}
