#pragma once

#include "model/classes/KXBaseModelComponentMove.h"

#include <memory>
#include <string>

class KXModelComponentMove : public KXBaseModelComponentMove {
    KX_MODEL_IDENTITY(KXModelComponentMove, KXBaseModelComponentMove)

public:
    static constexpr const char* kDefaultObjectName = "Advanced Move";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelComponentMove& source);

    explicit KXModelComponentMove(const std::string& name);
    KXModelComponentMove(const KXModelComponentMove& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;
};
