#include "model/classes/KXModelObjectParticles.h"

std::shared_ptr<KXModel> KXModelObjectParticles::create() {
    return KXModel::makeShared<KXModelObjectParticles>(kDefaultObjectName);
}

std::shared_ptr<KXModel> KXModelObjectParticles::createCopy(const KXModelObjectParticles& source) {
    return KXModel::makeShared<KXModelObjectParticles>(source);
}

KXModelObjectParticles::KXModelObjectParticles(const std::string& name) : KXBaseModelObjectParticles(name) {}

KXModelObjectParticles::KXModelObjectParticles(const KXModelObjectParticles& source)
    : KXBaseModelObjectParticles(source) {}

std::shared_ptr<KXModel> KXModelObjectParticles::clone(bool deep, bool registerClone) const {
    return finishClone(createCopy(*this), deep, registerClone);
}
