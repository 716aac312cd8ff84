#pragma once

#include "model/classes/KXBaseModelObjectUnlocker.h"

#include <memory>
#include <string>

class KXModelObjectUnlocker : public KXBaseModelObjectUnlocker {
    KX_MODEL_IDENTITY(KXModelObjectUnlocker, KXBaseModelObjectUnlocker)

public:
    static constexpr const char* kDefaultObjectName = "Unlock";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelObjectUnlocker& source);

    explicit KXModelObjectUnlocker(const std::string& name);
    KXModelObjectUnlocker(const KXModelObjectUnlocker& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;
};
