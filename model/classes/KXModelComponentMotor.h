#pragma once

#include "model/classes/KXBaseModelComponentMotor.h"

#include <memory>
#include <string>

class KXModelComponentMotor : public KXBaseModelComponentMotor {
    KX_MODEL_IDENTITY(KXModelComponentMotor, KXBaseModelComponentMotor)
    KX_MODEL_CREATE(KXModelComponentMotor)
    KX_MODEL_CLONE(KXModelComponentMotor)

public:
    static constexpr const char* kDefaultObjectName = "Motor";

    explicit KXModelComponentMotor(const std::string& name);
    KXModelComponentMotor(const KXModelComponentMotor& source);
};
