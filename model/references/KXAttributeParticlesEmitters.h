#pragma once

#include "model/KXBaseAttribute.h"

#include <string>

// A value-less port of the particles object: only its link is stored.
class KXAttributeParticlesEmitters : public KXAttribute {
    KX_TYPE_IDENTITY(KXAttributeParticlesEmitters)
    KX_ATTRIBUTE_CLONE(KXAttributeParticlesEmitters)

public:
    KXAttributeParticlesEmitters(const std::string& name, KXModel* owner, uint32_t flags = 0);
    KXAttributeParticlesEmitters(const std::string& name, KXModel* owner,
                                 const KXAttributeParticlesEmitters& source);
};
