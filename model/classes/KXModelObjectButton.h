#pragma once

#include "model/classes/KXBaseModelObjectButton.h"

#include <memory>
#include <string>

class KXModelObjectButton : public KXBaseModelObjectButton {
    KX_MODEL_IDENTITY(KXModelObjectButton, KXBaseModelObjectButton)
    KX_MODEL_CREATE(KXModelObjectButton)
    KX_MODEL_CLONE(KXModelObjectButton)

public:
    static constexpr const char* kDefaultObjectName = "Navigation Button";

    explicit KXModelObjectButton(const std::string& name);
    KXModelObjectButton(const KXModelObjectButton& source);
};
