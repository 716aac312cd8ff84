#pragma once

#include "model/classes/KXBaseModelSprite.h"

#include <memory>
#include <string>

class KXModelSprite : public KXBaseModelSprite {
    KX_MODEL_IDENTITY(KXModelSprite, KXBaseModelSprite)

public:
    static constexpr const char* kDefaultObjectName = "";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelSprite& source);

    explicit KXModelSprite(const std::string& name);
    KXModelSprite(const KXModelSprite& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;
};
