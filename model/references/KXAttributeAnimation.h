#pragma once

#include "model/references/KXBaseAttributeAnimation.h"

#include <string>

class KXAttributeAnimation : public KXBaseAttributeAnimation {
    KX_TYPE_IDENTITY(KXAttributeAnimation)
    KX_ATTRIBUTE_CLONE(KXAttributeAnimation)

public:
    KXAttributeAnimation(const std::string& name, KXModel* owner, uint32_t flags = 0);
    KXAttributeAnimation(const std::string& name, KXModel* owner, const KXAttributeAnimation& source);
};
