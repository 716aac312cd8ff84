#include "model/classes/KXModelSound.h"

std::shared_ptr<KXModel> KXModelSound::create() {
    return KXModel::makeShared<KXModelSound>(kDefaultObjectName);
}

std::shared_ptr<KXModel> KXModelSound::createCopy(const KXModelSound& source) {
    return KXModel::makeShared<KXModelSound>(source);
}

KXModelSound::KXModelSound(const std::string& name) : KXBaseModelSound(name) {}

KXModelSound::KXModelSound(const KXModelSound& source) : KXBaseModelSound(source) {}

std::shared_ptr<KXModel> KXModelSound::clone(bool deep, bool registerClone) const {
    return finishClone(createCopy(*this), deep, registerClone);
}
