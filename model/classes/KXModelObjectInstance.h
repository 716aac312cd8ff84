#pragma once

#include "model/classes/KXBaseModelObjectInstance.h"

#include <memory>
#include <string>

class KXModelObjectInstance : public KXBaseModelObjectInstance {
    KX_MODEL_IDENTITY(KXModelObjectInstance, KXBaseModelObjectInstance)

public:
    static constexpr const char* kDefaultObjectName = "";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelObjectInstance& source);

    explicit KXModelObjectInstance(const std::string& name);
    KXModelObjectInstance(const KXModelObjectInstance& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;
};
