#include "model/classes/KXModelObjectButton.h"

std::shared_ptr<KXModel> KXModelObjectButton::create() {
    return KXModel::makeShared<KXModelObjectButton>(kDefaultObjectName);
}

std::shared_ptr<KXModel> KXModelObjectButton::createCopy(const KXModelObjectButton& source) {
    return KXModel::makeShared<KXModelObjectButton>(source);
}

KXModelObjectButton::KXModelObjectButton(const std::string& name) : KXBaseModelObjectButton(name) {}

KXModelObjectButton::KXModelObjectButton(const KXModelObjectButton& source)
    : KXBaseModelObjectButton(source) {}

std::shared_ptr<KXModel> KXModelObjectButton::clone(bool deep, bool registerClone) const {
    return finishClone(createCopy(*this), deep, registerClone);
}
