#pragma once

#include "model/classes/KXBaseModelAnimation.h"

#include <memory>
#include <string>

class KXModelAnimation : public KXBaseModelAnimation {
    KX_MODEL_IDENTITY(KXModelAnimation, KXBaseModelAnimation)
    KX_MODEL_CREATE(KXModelAnimation)
    KX_MODEL_CLONE(KXModelAnimation)

public:
    static constexpr const char* kDefaultObjectName = "";

    explicit KXModelAnimation(const std::string& name);
    KXModelAnimation(const KXModelAnimation& source);
};
