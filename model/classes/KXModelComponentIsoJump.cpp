#include "model/classes/KXModelComponentIsoJump.h"

std::shared_ptr<KXModel> KXModelComponentIsoJump::create() {
    return KXModel::makeShared<KXModelComponentIsoJump>(kDefaultObjectName);
}

std::shared_ptr<KXModel> KXModelComponentIsoJump::createCopy(const KXModelComponentIsoJump& source) {
    return KXModel::makeShared<KXModelComponentIsoJump>(source);
}

KXModelComponentIsoJump::KXModelComponentIsoJump(const std::string& name)
    : KXBaseModelComponentIsoJump(name) {}

KXModelComponentIsoJump::KXModelComponentIsoJump(const KXModelComponentIsoJump& source)
    : KXBaseModelComponentIsoJump(source) {}

std::shared_ptr<KXModel> KXModelComponentIsoJump::clone(bool deep, bool registerClone) const {
    return finishClone(createCopy(*this), deep, registerClone);
}
