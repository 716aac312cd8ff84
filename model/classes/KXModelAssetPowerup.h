#pragma once

#include "model/classes/KXBaseModelAssetPowerup.h"

#include <memory>
#include <string>

class KXModelAssetPowerup : public KXBaseModelAssetPowerup {
    KX_MODEL_IDENTITY(KXModelAssetPowerup, KXBaseModelAssetPowerup)

public:
    static constexpr const char* kDefaultObjectName = "Powerup";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelAssetPowerup& source);

    explicit KXModelAssetPowerup(const std::string& name);
    KXModelAssetPowerup(const KXModelAssetPowerup& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;
};
