#pragma once

#include "model/classes/KXModelObjectButton.h"

#include <memory>
#include <string>

// A button that switches the objects linked to it on and off.
class KXModelObjectButtonSwitch : public KXModelObjectButton {
    KX_MODEL_IDENTITY(KXModelObjectButtonSwitch, KXModelObjectButton)
    KX_MODEL_CREATE(KXModelObjectButtonSwitch)
    KX_MODEL_CLONE(KXModelObjectButtonSwitch)

public:
    static constexpr const char* kDefaultObjectName = "Switch Button";
    static constexpr const char* kSwitchAction = "kInputControllerActionButton";

    explicit KXModelObjectButtonSwitch(const std::string& name);
    KXModelObjectButtonSwitch(const KXModelObjectButtonSwitch& source);
};
