#include "model/classes/KXModelObjectButtonControl.h"

std::shared_ptr<KXModel> KXModelObjectButtonControl::create() {
    return KXModel::makeShared<KXModelObjectButtonControl>(kDefaultObjectName);
}

std::shared_ptr<KXModel> KXModelObjectButtonControl::createCopy(const KXModelObjectButtonControl& source) {
    return KXModel::makeShared<KXModelObjectButtonControl>(source);
}

KXModelObjectButtonControl::KXModelObjectButtonControl(const std::string& name) : KXModelObjectButton(name) {}

KXModelObjectButtonControl::KXModelObjectButtonControl(const KXModelObjectButtonControl& source)
    : KXModelObjectButton(source) {}

std::shared_ptr<KXModel> KXModelObjectButtonControl::clone(bool deep, bool registerClone) const {
    return finishClone(createCopy(*this), deep, registerClone);
}
