#pragma once

#include "model/classes/KXBaseModelObjectLogic.h"

#include <memory>
#include <string>

class KXModelObjectLogic : public KXBaseModelObjectLogic {
    KX_MODEL_IDENTITY(KXModelObjectLogic, KXBaseModelObjectLogic)
    KX_MODEL_CREATE(KXModelObjectLogic)
    KX_MODEL_CLONE(KXModelObjectLogic)

public:
    static constexpr const char* kDefaultObjectName = "Transform";

    explicit KXModelObjectLogic(const std::string& name);
    KXModelObjectLogic(const KXModelObjectLogic& source);
};
