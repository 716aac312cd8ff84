#pragma once

#include "model/classes/KXBaseModelComponentMove.h"

#include <memory>
#include <string>

class KXModelComponentMove : public KXBaseModelComponentMove {
    KX_MODEL_IDENTITY(KXModelComponentMove, KXBaseModelComponentMove)
    KX_MODEL_CREATE(KXModelComponentMove)
    KX_MODEL_CLONE(KXModelComponentMove)

public:
    static constexpr const char* kDefaultObjectName = "Advanced Move";

    explicit KXModelComponentMove(const std::string& name);
    KXModelComponentMove(const KXModelComponentMove& source);
};
