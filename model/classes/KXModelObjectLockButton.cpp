#include "model/classes/KXModelObjectLockButton.h"

std::shared_ptr<KXModel> KXModelObjectLockButton::create() {
    return KXModel::makeShared<KXModelObjectLockButton>(kDefaultObjectName);
}

std::shared_ptr<KXModel> KXModelObjectLockButton::createCopy(const KXModelObjectLockButton& source) {
    return KXModel::makeShared<KXModelObjectLockButton>(source);
}

KXModelObjectLockButton::KXModelObjectLockButton(const std::string& name)
    : KXBaseModelObjectLockButton(name) {}

KXModelObjectLockButton::KXModelObjectLockButton(const KXModelObjectLockButton& source)
    : KXBaseModelObjectLockButton(source) {}

std::shared_ptr<KXModel> KXModelObjectLockButton::clone(bool deep, bool registerClone) const {
    return finishClone(createCopy(*this), deep, registerClone);
}
