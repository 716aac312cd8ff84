#include "model/classes/KXModelObjectUnlocker.h"

std::shared_ptr<KXModel> KXModelObjectUnlocker::create() {
    return KXModel::makeShared<KXModelObjectUnlocker>(kDefaultObjectName);
}

std::shared_ptr<KXModel> KXModelObjectUnlocker::createCopy(const KXModelObjectUnlocker& source) {
    return KXModel::makeShared<KXModelObjectUnlocker>(source);
}

KXModelObjectUnlocker::KXModelObjectUnlocker(const std::string& name) : KXBaseModelObjectUnlocker(name) {}

KXModelObjectUnlocker::KXModelObjectUnlocker(const KXModelObjectUnlocker& source)
    : KXBaseModelObjectUnlocker(source) {}

std::shared_ptr<KXModel> KXModelObjectUnlocker::clone(bool deep, bool registerClone) const {
    return finishClone(createCopy(*this), deep, registerClone);
}
