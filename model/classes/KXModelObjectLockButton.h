#pragma once

#include "model/classes/KXBaseModelObjectLockButton.h"

#include <memory>
#include <string>

class KXModelObjectLockButton : public KXBaseModelObjectLockButton {
    KX_MODEL_IDENTITY(KXModelObjectLockButton, KXBaseModelObjectLockButton)
    KX_MODEL_CREATE(KXModelObjectLockButton)
    KX_MODEL_CLONE(KXModelObjectLockButton)

public:
    static constexpr const char* kDefaultObjectName = "Lock Button";

    explicit KXModelObjectLockButton(const std::string& name);
    KXModelObjectLockButton(const KXModelObjectLockButton& source);
};
