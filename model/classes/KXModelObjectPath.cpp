#include "model/classes/KXModelObjectPath.h"

std::shared_ptr<KXModel> KXModelObjectPath::create() {
    return KXModel::makeShared<KXModelObjectPath>(kDefaultObjectName);
}

std::shared_ptr<KXModel> KXModelObjectPath::createCopy(const KXModelObjectPath& source) {
    return KXModel::makeShared<KXModelObjectPath>(source);
}

KXModelObjectPath::KXModelObjectPath(const std::string& name) : KXBaseModelObjectPath(name) {}

KXModelObjectPath::KXModelObjectPath(const KXModelObjectPath& source) : KXBaseModelObjectPath(source) {}

std::shared_ptr<KXModel> KXModelObjectPath::clone(bool deep, bool registerClone) const {
    return finishClone(createCopy(*this), deep, registerClone);
}
