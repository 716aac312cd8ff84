#pragma once

#include "model/classes/KXBaseModelSound.h"

#include <memory>
#include <string>

class KXModelSound : public KXBaseModelSound {
    KX_MODEL_IDENTITY(KXModelSound, KXBaseModelSound)
    KX_MODEL_CREATE(KXModelSound)
    KX_MODEL_CLONE(KXModelSound)

public:
    static constexpr const char* kDefaultObjectName = "";

    explicit KXModelSound(const std::string& name);
    KXModelSound(const KXModelSound& source);
};
