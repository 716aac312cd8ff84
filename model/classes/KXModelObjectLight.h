#pragma once

#include "model/classes/KXBaseModelObjectLight.h"

#include <memory>
#include <string>

class KXModelObjectLight : public KXBaseModelObjectLight {
    KX_MODEL_IDENTITY(KXModelObjectLight, KXBaseModelObjectLight)
    KX_MODEL_CREATE(KXModelObjectLight)
    KX_MODEL_CLONE(KXModelObjectLight)

public:
    static constexpr const char* kDefaultObjectName = "Light";

    explicit KXModelObjectLight(const std::string& name);
    KXModelObjectLight(const KXModelObjectLight& source);
};
