#include "model/classes/KXModelObjectGroup.h"

KXModelObjectGroup::KXModelObjectGroup(const std::string& name) : KXBaseModelObjectGroup(name) {}

KXModelObjectGroup::KXModelObjectGroup(const KXModelObjectGroup& source) : KXBaseModelObjectGroup(source) {}

std::shared_ptr<KXModel> KXModelObjectGroup::clone(bool /*deep*/, bool registerClone) const {
    std::shared_ptr<KXModel> copy = KXModel::makeShared<KXModelObjectGroup>(*this);
    if (registerClone) {
        copy->registerWithController(*this);
    }
    return copy;
}
