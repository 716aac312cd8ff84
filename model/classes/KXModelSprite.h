#pragma once

#include "model/classes/KXBaseModelSprite.h"

#include <memory>
#include <string>

class KXModelSprite : public KXBaseModelSprite {
    KX_MODEL_IDENTITY(KXModelSprite, KXBaseModelSprite)
    KX_MODEL_CREATE(KXModelSprite)
    KX_MODEL_CLONE(KXModelSprite)

public:
    static constexpr const char* kDefaultObjectName = "";

    explicit KXModelSprite(const std::string& name);
    KXModelSprite(const KXModelSprite& source);
};
