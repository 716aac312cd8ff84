#pragma once

#include "model/classes/KXBaseModelFont.h"

#include <memory>
#include <string>

class KXModelFont : public KXBaseModelFont {
    KX_MODEL_IDENTITY(KXModelFont, KXBaseModelFont)

public:
    static constexpr const char* kDefaultObjectName = "Default Font";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelFont& source);

    explicit KXModelFont(const std::string& name);
    KXModelFont(const KXModelFont& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;
};
