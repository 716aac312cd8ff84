#include "model/classes/KXModelObjectButtonPowerup.h"

std::shared_ptr<KXModel> KXModelObjectButtonPowerup::create() {
    return KXModel::makeShared<KXModelObjectButtonPowerup>(kDefaultObjectName);
}

std::shared_ptr<KXModel> KXModelObjectButtonPowerup::createCopy(const KXModelObjectButtonPowerup& source) {
    return KXModel::makeShared<KXModelObjectButtonPowerup>(source);
}

KXModelObjectButtonPowerup::KXModelObjectButtonPowerup(const std::string& name)
    : KXBaseModelObjectButtonPowerup(name) {}

KXModelObjectButtonPowerup::KXModelObjectButtonPowerup(const KXModelObjectButtonPowerup& source)
    : KXBaseModelObjectButtonPowerup(source) {}

std::shared_ptr<KXModel> KXModelObjectButtonPowerup::clone(bool deep, bool registerClone) const {
    return finishClone(createCopy(*this), deep, registerClone);
}
