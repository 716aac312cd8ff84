#include "model/classes/KXModelObjectButtonPowerup.h"

KXModelObjectButtonPowerup::KXModelObjectButtonPowerup(const std::string& name)
    : KXBaseModelObjectButtonPowerup(name) {}

KXModelObjectButtonPowerup::KXModelObjectButtonPowerup(const KXModelObjectButtonPowerup& source)
    : KXBaseModelObjectButtonPowerup(source) {}
