#include "model/classes/KXModelObjectLockButton.h"

KXModelObjectLockButton::KXModelObjectLockButton(const std::string& name)
    : KXBaseModelObjectLockButton(name) {}

KXModelObjectLockButton::KXModelObjectLockButton(const KXModelObjectLockButton& source)
    : KXBaseModelObjectLockButton(source) {}
