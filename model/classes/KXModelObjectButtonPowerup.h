#pragma once

#include "model/classes/KXBaseModelObjectButtonPowerup.h"

#include <memory>
#include <string>

class KXModelObjectButtonPowerup : public KXBaseModelObjectButtonPowerup {
    KX_MODEL_IDENTITY(KXModelObjectButtonPowerup, KXBaseModelObjectButtonPowerup)

public:
    static constexpr const char* kDefaultObjectName = "Action Button";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelObjectButtonPowerup& source);

    explicit KXModelObjectButtonPowerup(const std::string& name);
    KXModelObjectButtonPowerup(const KXModelObjectButtonPowerup& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;
};
