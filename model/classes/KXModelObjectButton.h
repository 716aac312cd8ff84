#pragma once

#include "model/classes/KXBaseModelObjectButton.h"

#include <memory>
#include <string>

class KXModelObjectButton : public KXBaseModelObjectButton {
    KX_MODEL_IDENTITY(KXModelObjectButton, KXBaseModelObjectButton)

public:
    static constexpr const char* kDefaultObjectName = "Navigation Button";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelObjectButton& source);

    explicit KXModelObjectButton(const std::string& name);
    KXModelObjectButton(const KXModelObjectButton& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;
};
