#pragma once

#include "model/classes/KXBaseModelObjectParticles.h"

#include <memory>
#include <string>

class KXModelObjectParticles : public KXBaseModelObjectParticles {
    KX_MODEL_IDENTITY(KXModelObjectParticles, KXBaseModelObjectParticles)
    KX_MODEL_CREATE(KXModelObjectParticles)
    KX_MODEL_CLONE(KXModelObjectParticles)

public:
    static constexpr const char* kDefaultObjectName = "Particle";

    explicit KXModelObjectParticles(const std::string& name);
    KXModelObjectParticles(const KXModelObjectParticles& source);
};
