#pragma once

#include "model/classes/KXBaseModelObjectLogic.h"

#include <memory>
#include <string>

class KXModelObjectLogic : public KXBaseModelObjectLogic {
    KX_MODEL_IDENTITY(KXModelObjectLogic, KXBaseModelObjectLogic)

public:
    static constexpr const char* kDefaultObjectName = "Transform";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelObjectLogic& source);

    explicit KXModelObjectLogic(const std::string& name);
    KXModelObjectLogic(const KXModelObjectLogic& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;
};
