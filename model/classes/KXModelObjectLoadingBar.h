#pragma once

#include "model/classes/KXModelObject.h"

#include <memory>
#include <string>

class KXModelObjectLoadingBar : public KXModelObject {
    KX_MODEL_IDENTITY(KXModelObjectLoadingBar, KXModelObject)

public:
    static constexpr const char* kDefaultObjectName = "Loading Bar";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelObjectLoadingBar& source);

    explicit KXModelObjectLoadingBar(const std::string& name);
    KXModelObjectLoadingBar(const KXModelObjectLoadingBar& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;
};
