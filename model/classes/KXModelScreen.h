#pragma once

#include "model/classes/KXBaseModelScreen.h"

#include <memory>
#include <string>

class KXModelScreen : public KXBaseModelScreen {
    KX_MODEL_IDENTITY(KXModelScreen, KXBaseModelScreen)
    KX_MODEL_CREATE(KXModelScreen)
    KX_MODEL_CLONE(KXModelScreen)

public:
    static constexpr const char* kDefaultObjectName = "";

    explicit KXModelScreen(const std::string& name);
    KXModelScreen(const KXModelScreen& source);
};
