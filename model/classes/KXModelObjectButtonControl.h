#pragma once

#include "model/classes/KXModelObjectButton.h"

#include <memory>
#include <string>

class KXModelObjectButtonControl : public KXModelObjectButton {
    KX_MODEL_IDENTITY(KXModelObjectButtonControl, KXModelObjectButton)

public:
    static constexpr const char* kDefaultObjectName = "";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelObjectButtonControl& source);

    explicit KXModelObjectButtonControl(const std::string& name);
    KXModelObjectButtonControl(const KXModelObjectButtonControl& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;
};
