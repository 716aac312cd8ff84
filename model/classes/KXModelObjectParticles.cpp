#include "model/classes/KXModelObjectParticles.h"

KXModelObjectParticles::KXModelObjectParticles(const std::string& name) : KXBaseModelObjectParticles(name) {}

KXModelObjectParticles::KXModelObjectParticles(const KXModelObjectParticles& source)
    : KXBaseModelObjectParticles(source) {}
