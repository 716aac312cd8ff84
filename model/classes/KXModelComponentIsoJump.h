#pragma once

#include "model/classes/KXBaseModelComponentIsoJump.h"

#include <memory>
#include <string>

class KXModelComponentIsoJump : public KXBaseModelComponentIsoJump {
    KX_MODEL_IDENTITY(KXModelComponentIsoJump, KXBaseModelComponentIsoJump)

public:
    static constexpr const char* kDefaultObjectName = "Ghost Jump";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelComponentIsoJump& source);

    explicit KXModelComponentIsoJump(const std::string& name);
    KXModelComponentIsoJump(const KXModelComponentIsoJump& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;
};
