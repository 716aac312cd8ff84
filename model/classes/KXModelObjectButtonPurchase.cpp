#include "model/classes/KXModelObjectButtonPurchase.h"

std::shared_ptr<KXModel> KXModelObjectButtonPurchase::create() {
    return KXModel::makeShared<KXModelObjectButtonPurchase>(kDefaultObjectName);
}

std::shared_ptr<KXModel> KXModelObjectButtonPurchase::createCopy(const KXModelObjectButtonPurchase& source) {
    return KXModel::makeShared<KXModelObjectButtonPurchase>(source);
}

KXModelObjectButtonPurchase::KXModelObjectButtonPurchase(const std::string& name)
    : KXBaseModelObjectButtonPurchase(name) {}

KXModelObjectButtonPurchase::KXModelObjectButtonPurchase(const KXModelObjectButtonPurchase& source)
    : KXBaseModelObjectButtonPurchase(source) {}

std::shared_ptr<KXModel> KXModelObjectButtonPurchase::clone(bool deep, bool registerClone) const {
    return finishClone(createCopy(*this), deep, registerClone);
}
