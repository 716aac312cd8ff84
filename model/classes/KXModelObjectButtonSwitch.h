#pragma once

#include "model/classes/KXModelObjectButton.h"

#include <memory>
#include <string>

// A button that switches the objects linked to it on and off.
class KXModelObjectButtonSwitch : public KXModelObjectButton {
    KX_MODEL_IDENTITY(KXModelObjectButtonSwitch, KXModelObjectButton)

public:
    static constexpr const char* kDefaultObjectName = "Switch Button";
    static constexpr const char* kSwitchAction = "kInputControllerActionButton";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelObjectButtonSwitch& source);

    explicit KXModelObjectButtonSwitch(const std::string& name);
    KXModelObjectButtonSwitch(const KXModelObjectButtonSwitch& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;
};
