#pragma once

#include "model/classes/KXBaseModelObjectButtonCharacterUnlock.h"

#include <memory>
#include <string>

class KXModelObjectButtonCharacterUnlock : public KXBaseModelObjectButtonCharacterUnlock {
    KX_MODEL_IDENTITY(KXModelObjectButtonCharacterUnlock, KXBaseModelObjectButtonCharacterUnlock)
    KX_MODEL_CREATE(KXModelObjectButtonCharacterUnlock)
    KX_MODEL_CLONE(KXModelObjectButtonCharacterUnlock)

public:
    static constexpr const char* kDefaultObjectName = "Single Unlock";

    explicit KXModelObjectButtonCharacterUnlock(const std::string& name);
    KXModelObjectButtonCharacterUnlock(const KXModelObjectButtonCharacterUnlock& source);
};
