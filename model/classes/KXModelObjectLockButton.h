#pragma once

#include "model/classes/KXBaseModelObjectLockButton.h"

#include <memory>
#include <string>

class KXModelObjectLockButton : public KXBaseModelObjectLockButton {
    KX_MODEL_IDENTITY(KXModelObjectLockButton, KXBaseModelObjectLockButton)

public:
    static constexpr const char* kDefaultObjectName = "Lock Button";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelObjectLockButton& source);

    explicit KXModelObjectLockButton(const std::string& name);
    KXModelObjectLockButton(const KXModelObjectLockButton& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;
};
