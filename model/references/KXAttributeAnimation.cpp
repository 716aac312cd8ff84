#include "model/references/KXAttributeAnimation.h"

KXAttributeAnimation::KXAttributeAnimation(const std::string& name, KXModel* owner, uint32_t flags)
    : KXBaseAttributeAnimation(name, owner, flags) {}

KXAttributeAnimation::KXAttributeAnimation(const std::string& name, KXModel* owner,
                                           const KXAttributeAnimation& source)
    : KXBaseAttributeAnimation(name, owner, source) {}
