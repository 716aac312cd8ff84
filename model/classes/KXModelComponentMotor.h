#pragma once

#include "model/classes/KXBaseModelComponentMotor.h"

#include <memory>
#include <string>

class KXModelComponentMotor : public KXBaseModelComponentMotor {
    KX_MODEL_IDENTITY(KXModelComponentMotor, KXBaseModelComponentMotor)

public:
    static constexpr const char* kDefaultObjectName = "Motor";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelComponentMotor& source);

    explicit KXModelComponentMotor(const std::string& name);
    KXModelComponentMotor(const KXModelComponentMotor& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;
};
