#pragma once

#include "model/classes/KXBaseModelAtlas.h"

#include <memory>
#include <string>

class KXModelAtlas : public KXBaseModelAtlas {
    KX_MODEL_IDENTITY(KXModelAtlas, KXBaseModelAtlas)

public:
    static constexpr const char* kDefaultObjectName = "";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelAtlas& source);

    explicit KXModelAtlas(const std::string& name);
    KXModelAtlas(const KXModelAtlas& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;
};
