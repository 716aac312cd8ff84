#include "model/classes/KXModelAnimation.h"

std::shared_ptr<KXModel> KXModelAnimation::create() {
    return KXModel::makeShared<KXModelAnimation>(kDefaultObjectName);
}

std::shared_ptr<KXModel> KXModelAnimation::createCopy(const KXModelAnimation& source) {
    return KXModel::makeShared<KXModelAnimation>(source);
}

KXModelAnimation::KXModelAnimation(const std::string& name) : KXBaseModelAnimation(name) {}

KXModelAnimation::KXModelAnimation(const KXModelAnimation& source) : KXBaseModelAnimation(source) {}

std::shared_ptr<KXModel> KXModelAnimation::clone(bool deep, bool registerClone) const {
    return finishClone(createCopy(*this), deep, registerClone);
}
