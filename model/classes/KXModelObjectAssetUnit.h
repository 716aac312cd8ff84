#pragma once

#include "model/classes/KXBaseModelObjectAssetUnit.h"

#include <memory>
#include <string>

class KXModelObjectAssetUnit : public KXBaseModelObjectAssetUnit {
    KX_MODEL_IDENTITY(KXModelObjectAssetUnit, KXBaseModelObjectAssetUnit)

public:
    static constexpr const char* kDefaultObjectName = "";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelObjectAssetUnit& source);

    explicit KXModelObjectAssetUnit(const std::string& name);
    KXModelObjectAssetUnit(const KXModelObjectAssetUnit& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;
};
