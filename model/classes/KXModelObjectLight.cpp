#include "model/classes/KXModelObjectLight.h"

std::shared_ptr<KXModel> KXModelObjectLight::create() {
    return KXModel::makeShared<KXModelObjectLight>(kDefaultObjectName);
}

std::shared_ptr<KXModel> KXModelObjectLight::createCopy(const KXModelObjectLight& source) {
    return KXModel::makeShared<KXModelObjectLight>(source);
}

KXModelObjectLight::KXModelObjectLight(const std::string& name) : KXBaseModelObjectLight(name) {}

KXModelObjectLight::KXModelObjectLight(const KXModelObjectLight& source) : KXBaseModelObjectLight(source) {}

std::shared_ptr<KXModel> KXModelObjectLight::clone(bool deep, bool registerClone) const {
    return finishClone(createCopy(*this), deep, registerClone);
}
