#include "model/classes/KXModelComponent.h"

std::shared_ptr<KXModel> KXModelComponent::createCopy(const KXModelComponent& source) {
    return KXModel::makeShared<KXModelComponent>(source);
}

KXModelComponent::KXModelComponent(const std::string& name) : KXModel(name) {}

KXModelComponent::KXModelComponent(const KXModelComponent& source) : KXModel(source) {}

std::shared_ptr<KXModel> KXModelComponent::clone(bool deep, bool registerClone) const {
    return finishClone(createCopy(*this), deep, registerClone);
}
