#include "model/classes/KXModelObjectLabel.h"

std::shared_ptr<KXModel> KXModelObjectLabel::create() {
    return KXModel::makeShared<KXModelObjectLabel>(kDefaultObjectName);
}

std::shared_ptr<KXModel> KXModelObjectLabel::createCopy(const KXModelObjectLabel& source) {
    return KXModel::makeShared<KXModelObjectLabel>(source);
}

KXModelObjectLabel::KXModelObjectLabel(const std::string& name) : KXBaseModelObjectLabel(name) {}

KXModelObjectLabel::KXModelObjectLabel(const KXModelObjectLabel& source) : KXBaseModelObjectLabel(source) {}

std::shared_ptr<KXModel> KXModelObjectLabel::clone(bool deep, bool registerClone) const {
    return finishClone(createCopy(*this), deep, registerClone);
}
