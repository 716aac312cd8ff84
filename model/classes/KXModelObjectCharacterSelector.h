#pragma once

#include "model/classes/KXBaseModelObjectCharacterSelector.h"

#include <memory>
#include <string>

class KXModelObjectCharacterSelector : public KXBaseModelObjectCharacterSelector {
    KX_MODEL_IDENTITY(KXModelObjectCharacterSelector, KXBaseModelObjectCharacterSelector)
    KX_MODEL_CREATE(KXModelObjectCharacterSelector)
    KX_MODEL_CLONE(KXModelObjectCharacterSelector)

public:
    static constexpr const char* kDefaultObjectName = "";

    explicit KXModelObjectCharacterSelector(const std::string& name);
    KXModelObjectCharacterSelector(const KXModelObjectCharacterSelector& source);
};
