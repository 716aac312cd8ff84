#include "model/classes/KXModelObjectGroup.h"

std::shared_ptr<KXModel> KXModelObjectGroup::create() {
    return KXModel::makeShared<KXModelObjectGroup>(kDefaultObjectName);
}

std::shared_ptr<KXModel> KXModelObjectGroup::createCopy(const KXModelObjectGroup& source) {
    return KXModel::makeShared<KXModelObjectGroup>(source);
}

KXModelObjectGroup::KXModelObjectGroup(const std::string& name) : KXBaseModelObjectGroup(name) {}

KXModelObjectGroup::KXModelObjectGroup(const KXModelObjectGroup& source) : KXBaseModelObjectGroup(source) {}

std::shared_ptr<KXModel> KXModelObjectGroup::clone(bool /*deep*/, bool registerClone) const {
    std::shared_ptr<KXModel> copy = createCopy(*this);
    if (registerClone) {
        copy->registerWithController(*this);
    }
    return copy;
}
