#pragma once

#include "model/classes/KXBaseModelObjectButtonPowerup.h"

#include <memory>
#include <string>

class KXModelObjectButtonPowerup : public KXBaseModelObjectButtonPowerup {
    KX_MODEL_IDENTITY(KXModelObjectButtonPowerup, KXBaseModelObjectButtonPowerup)
    KX_MODEL_CREATE(KXModelObjectButtonPowerup)
    KX_MODEL_CLONE(KXModelObjectButtonPowerup)

public:
    static constexpr const char* kDefaultObjectName = "Action Button";

    explicit KXModelObjectButtonPowerup(const std::string& name);
    KXModelObjectButtonPowerup(const KXModelObjectButtonPowerup& source);
};
