#pragma once

#include "model/classes/KXModelObjectButton.h"

#include <memory>
#include <string>

class KXModelObjectButtonControl : public KXModelObjectButton {
    KX_MODEL_IDENTITY(KXModelObjectButtonControl, KXModelObjectButton)
    KX_MODEL_CREATE(KXModelObjectButtonControl)
    KX_MODEL_CLONE(KXModelObjectButtonControl)

public:
    static constexpr const char* kDefaultObjectName = "";

    explicit KXModelObjectButtonControl(const std::string& name);
    KXModelObjectButtonControl(const KXModelObjectButtonControl& source);
};
