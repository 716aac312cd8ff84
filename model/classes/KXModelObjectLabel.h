#pragma once

#include "model/classes/KXBaseModelObjectLabel.h"

#include <memory>
#include <string>

class KXModelObjectLabel : public KXBaseModelObjectLabel {
    KX_MODEL_IDENTITY(KXModelObjectLabel, KXBaseModelObjectLabel)
    KX_MODEL_CREATE(KXModelObjectLabel)
    KX_MODEL_CLONE(KXModelObjectLabel)

public:
    static constexpr const char* kDefaultObjectName = "Untitled";

    explicit KXModelObjectLabel(const std::string& name);
    KXModelObjectLabel(const KXModelObjectLabel& source);
};
