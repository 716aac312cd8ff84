#include "model/classes/KXModelObjectLogic.h"

std::shared_ptr<KXModel> KXModelObjectLogic::create() {
    return KXModel::makeShared<KXModelObjectLogic>(kDefaultObjectName);
}

std::shared_ptr<KXModel> KXModelObjectLogic::createCopy(const KXModelObjectLogic& source) {
    return KXModel::makeShared<KXModelObjectLogic>(source);
}

KXModelObjectLogic::KXModelObjectLogic(const std::string& name) : KXBaseModelObjectLogic(name) {}

KXModelObjectLogic::KXModelObjectLogic(const KXModelObjectLogic& source) : KXBaseModelObjectLogic(source) {}

std::shared_ptr<KXModel> KXModelObjectLogic::clone(bool deep, bool registerClone) const {
    return finishClone(createCopy(*this), deep, registerClone);
}
