#include "model/classes/KXModelComponentMove.h"

std::shared_ptr<KXModel> KXModelComponentMove::create() {
    return KXModel::makeShared<KXModelComponentMove>(kDefaultObjectName);
}

std::shared_ptr<KXModel> KXModelComponentMove::createCopy(const KXModelComponentMove& source) {
    return KXModel::makeShared<KXModelComponentMove>(source);
}

KXModelComponentMove::KXModelComponentMove(const std::string& name) : KXBaseModelComponentMove(name) {}

KXModelComponentMove::KXModelComponentMove(const KXModelComponentMove& source)
    : KXBaseModelComponentMove(source) {}

std::shared_ptr<KXModel> KXModelComponentMove::clone(bool deep, bool registerClone) const {
    return finishClone(createCopy(*this), deep, registerClone);
}
