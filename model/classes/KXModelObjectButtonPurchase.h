#pragma once

#include "model/classes/KXBaseModelObjectButtonPurchase.h"

#include <memory>
#include <string>

class KXModelObjectButtonPurchase : public KXBaseModelObjectButtonPurchase {
    KX_MODEL_IDENTITY(KXModelObjectButtonPurchase, KXBaseModelObjectButtonPurchase)

public:
    static constexpr const char* kDefaultObjectName = "Purchase Button";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelObjectButtonPurchase& source);

    explicit KXModelObjectButtonPurchase(const std::string& name);
    KXModelObjectButtonPurchase(const KXModelObjectButtonPurchase& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;
};
