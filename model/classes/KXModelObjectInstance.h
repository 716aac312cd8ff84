#pragma once

#include "model/classes/KXBaseModelObjectInstance.h"

#include <memory>
#include <string>

class KXModelObjectInstance : public KXBaseModelObjectInstance {
    KX_MODEL_IDENTITY(KXModelObjectInstance, KXBaseModelObjectInstance)
    KX_MODEL_CREATE(KXModelObjectInstance)
    KX_MODEL_CLONE(KXModelObjectInstance)

public:
    static constexpr const char* kDefaultObjectName = "";

    explicit KXModelObjectInstance(const std::string& name);
    KXModelObjectInstance(const KXModelObjectInstance& source);
};
