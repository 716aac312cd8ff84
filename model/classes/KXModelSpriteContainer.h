#pragma once

#include "model/classes/KXBaseModelSpriteContainer.h"

#include <memory>
#include <string>

class KXModelSpriteContainer : public KXBaseModelSpriteContainer {
    KX_MODEL_IDENTITY(KXModelSpriteContainer, KXBaseModelSpriteContainer)

public:
    static constexpr const char* kDefaultObjectName = "";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelSpriteContainer& source);

    explicit KXModelSpriteContainer(const std::string& name);
    KXModelSpriteContainer(const KXModelSpriteContainer& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;
};
