#pragma once

#include "model/classes/KXModelObject.h"

#include <memory>
#include <string>

class KXModelObjectSwipeControl : public KXModelObject {
    KX_MODEL_IDENTITY(KXModelObjectSwipeControl, KXModelObject)
    KX_MODEL_CREATE(KXModelObjectSwipeControl)
    KX_MODEL_CLONE(KXModelObjectSwipeControl)

public:
    static constexpr const char* kDefaultObjectName = "";

    explicit KXModelObjectSwipeControl(const std::string& name);
    KXModelObjectSwipeControl(const KXModelObjectSwipeControl& source);
};
