#include "model/classes/KXModelLinker.h"

std::shared_ptr<KXModel> KXModelLinker::create() {
    return KXModel::makeShared<KXModelLinker>(kDefaultObjectName);
}

std::shared_ptr<KXModel> KXModelLinker::createCopy(const KXModelLinker& source) {
    return KXModel::makeShared<KXModelLinker>(source);
}

KXModelLinker::KXModelLinker(const std::string& name) : KXBaseModelLinker(name) {}

KXModelLinker::KXModelLinker(const KXModelLinker& source) : KXBaseModelLinker(source) {}

std::shared_ptr<KXModel> KXModelLinker::clone(bool deep, bool registerClone) const {
    return finishClone(createCopy(*this), deep, registerClone);
}
