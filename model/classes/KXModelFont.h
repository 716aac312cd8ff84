#pragma once

#include "model/classes/KXBaseModelFont.h"

#include <memory>
#include <string>

class KXModelFont : public KXBaseModelFont {
    KX_MODEL_IDENTITY(KXModelFont, KXBaseModelFont)
    KX_MODEL_CREATE(KXModelFont)
    KX_MODEL_CLONE(KXModelFont)

public:
    static constexpr const char* kDefaultObjectName = "Default Font";

    explicit KXModelFont(const std::string& name);
    KXModelFont(const KXModelFont& source);
};
