#pragma once

#include "model/classes/KXBaseModelObjectAssetUnit.h"

#include <memory>
#include <string>

class KXModelObjectAssetUnit : public KXBaseModelObjectAssetUnit {
    KX_MODEL_IDENTITY(KXModelObjectAssetUnit, KXBaseModelObjectAssetUnit)
    KX_MODEL_CREATE(KXModelObjectAssetUnit)
    KX_MODEL_CLONE(KXModelObjectAssetUnit)

public:
    static constexpr const char* kDefaultObjectName = "";

    explicit KXModelObjectAssetUnit(const std::string& name);
    KXModelObjectAssetUnit(const KXModelObjectAssetUnit& source);
};
