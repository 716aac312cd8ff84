#pragma once

#include "model/classes/KXBaseModelAssetPowerup.h"

#include <memory>
#include <string>

class KXModelAssetPowerup : public KXBaseModelAssetPowerup {
    KX_MODEL_IDENTITY(KXModelAssetPowerup, KXBaseModelAssetPowerup)
    KX_MODEL_CREATE(KXModelAssetPowerup)
    KX_MODEL_CLONE(KXModelAssetPowerup)

public:
    static constexpr const char* kDefaultObjectName = "Powerup";

    explicit KXModelAssetPowerup(const std::string& name);
    KXModelAssetPowerup(const KXModelAssetPowerup& source);
};
