#pragma once

#include "model/classes/KXBaseModelSpriteContainer.h"

#include <memory>
#include <string>

class KXModelSpriteContainer : public KXBaseModelSpriteContainer {
    KX_MODEL_IDENTITY(KXModelSpriteContainer, KXBaseModelSpriteContainer)
    KX_MODEL_CREATE(KXModelSpriteContainer)
    KX_MODEL_CLONE(KXModelSpriteContainer)

public:
    static constexpr const char* kDefaultObjectName = "";

    explicit KXModelSpriteContainer(const std::string& name);
    KXModelSpriteContainer(const KXModelSpriteContainer& source);
};
