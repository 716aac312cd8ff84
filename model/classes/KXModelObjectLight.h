#pragma once

#include "model/classes/KXBaseModelObjectLight.h"

#include <memory>
#include <string>

class KXModelObjectLight : public KXBaseModelObjectLight {
    KX_MODEL_IDENTITY(KXModelObjectLight, KXBaseModelObjectLight)

public:
    static constexpr const char* kDefaultObjectName = "Light";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelObjectLight& source);

    explicit KXModelObjectLight(const std::string& name);
    KXModelObjectLight(const KXModelObjectLight& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;
};
