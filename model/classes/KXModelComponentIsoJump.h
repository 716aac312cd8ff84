#pragma once

#include "model/classes/KXBaseModelComponentIsoJump.h"

#include <memory>
#include <string>

class KXModelComponentIsoJump : public KXBaseModelComponentIsoJump {
    KX_MODEL_IDENTITY(KXModelComponentIsoJump, KXBaseModelComponentIsoJump)
    KX_MODEL_CREATE(KXModelComponentIsoJump)
    KX_MODEL_CLONE(KXModelComponentIsoJump)

public:
    static constexpr const char* kDefaultObjectName = "Ghost Jump";

    explicit KXModelComponentIsoJump(const std::string& name);
    KXModelComponentIsoJump(const KXModelComponentIsoJump& source);
};
