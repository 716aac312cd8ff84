#pragma once

#include "model/classes/KXModelObject.h"

#include <memory>
#include <string>

class KXModelObjectLoadingBar : public KXModelObject {
    KX_MODEL_IDENTITY(KXModelObjectLoadingBar, KXModelObject)
    KX_MODEL_CREATE(KXModelObjectLoadingBar)
    KX_MODEL_CLONE(KXModelObjectLoadingBar)

public:
    static constexpr const char* kDefaultObjectName = "Loading Bar";

    explicit KXModelObjectLoadingBar(const std::string& name);
    KXModelObjectLoadingBar(const KXModelObjectLoadingBar& source);
};
