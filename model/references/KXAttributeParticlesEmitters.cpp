#include "model/references/KXAttributeParticlesEmitters.h"

KXAttributeParticlesEmitters::KXAttributeParticlesEmitters(const std::string& name, KXModel* owner,
                                                           uint32_t flags)
    : KXAttribute(name, owner, flags) {}

KXAttributeParticlesEmitters::KXAttributeParticlesEmitters(const std::string& name, KXModel* owner,
                                                           const KXAttributeParticlesEmitters& source)
    : KXAttribute(name, owner, source) {}
