#pragma once

#include "model/classes/KXBaseModelAtlas.h"

#include <memory>
#include <string>

class KXModelAtlas : public KXBaseModelAtlas {
    KX_MODEL_IDENTITY(KXModelAtlas, KXBaseModelAtlas)
    KX_MODEL_CREATE(KXModelAtlas)
    KX_MODEL_CLONE(KXModelAtlas)

public:
    static constexpr const char* kDefaultObjectName = "";

    explicit KXModelAtlas(const std::string& name);
    KXModelAtlas(const KXModelAtlas& source);
};
