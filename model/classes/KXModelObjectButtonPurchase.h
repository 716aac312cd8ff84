#pragma once

#include "model/classes/KXBaseModelObjectButtonPurchase.h"

#include <memory>
#include <string>

class KXModelObjectButtonPurchase : public KXBaseModelObjectButtonPurchase {
    KX_MODEL_IDENTITY(KXModelObjectButtonPurchase, KXBaseModelObjectButtonPurchase)
    KX_MODEL_CREATE(KXModelObjectButtonPurchase)
    KX_MODEL_CLONE(KXModelObjectButtonPurchase)

public:
    static constexpr const char* kDefaultObjectName = "Purchase Button";

    explicit KXModelObjectButtonPurchase(const std::string& name);
    KXModelObjectButtonPurchase(const KXModelObjectButtonPurchase& source);
};
