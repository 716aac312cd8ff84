#pragma once

#include "model/classes/KXBaseModelObjectUnlocker.h"

#include <memory>
#include <string>

class KXModelObjectUnlocker : public KXBaseModelObjectUnlocker {
    KX_MODEL_IDENTITY(KXModelObjectUnlocker, KXBaseModelObjectUnlocker)
    KX_MODEL_CREATE(KXModelObjectUnlocker)
    KX_MODEL_CLONE(KXModelObjectUnlocker)

public:
    static constexpr const char* kDefaultObjectName = "Unlock";

    explicit KXModelObjectUnlocker(const std::string& name);
    KXModelObjectUnlocker(const KXModelObjectUnlocker& source);
};
