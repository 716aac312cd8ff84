#include "model/classes/KXModelObjectButtonPurchase.h"

KXModelObjectButtonPurchase::KXModelObjectButtonPurchase(const std::string& name)
    : KXBaseModelObjectButtonPurchase(name) {}

KXModelObjectButtonPurchase::KXModelObjectButtonPurchase(const KXModelObjectButtonPurchase& source)
    : KXBaseModelObjectButtonPurchase(source) {}
