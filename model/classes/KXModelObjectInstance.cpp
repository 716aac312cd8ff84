#include "model/classes/KXModelObjectInstance.h"

std::shared_ptr<KXModel> KXModelObjectInstance::create() {
    return KXModel::makeShared<KXModelObjectInstance>(kDefaultObjectName);
}

std::shared_ptr<KXModel> KXModelObjectInstance::createCopy(const KXModelObjectInstance& source) {
    return KXModel::makeShared<KXModelObjectInstance>(source);
}

KXModelObjectInstance::KXModelObjectInstance(const std::string& name) : KXBaseModelObjectInstance(name) {}

KXModelObjectInstance::KXModelObjectInstance(const KXModelObjectInstance& source)
    : KXBaseModelObjectInstance(source) {}

std::shared_ptr<KXModel> KXModelObjectInstance::clone(bool deep, bool registerClone) const {
    return finishClone(createCopy(*this), deep, registerClone);
}
