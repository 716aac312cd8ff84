#pragma once

#include "model/classes/KXBaseModelObjectParticles.h"

#include <memory>
#include <string>

class KXModelObjectParticles : public KXBaseModelObjectParticles {
    KX_MODEL_IDENTITY(KXModelObjectParticles, KXBaseModelObjectParticles)

public:
    static constexpr const char* kDefaultObjectName = "Particle";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelObjectParticles& source);

    explicit KXModelObjectParticles(const std::string& name);
    KXModelObjectParticles(const KXModelObjectParticles& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;
};
