#pragma once

#include "model/classes/KXBaseModelAnimation.h"

#include <memory>
#include <string>

class KXModelAnimation : public KXBaseModelAnimation {
    KX_MODEL_IDENTITY(KXModelAnimation, KXBaseModelAnimation)

public:
    static constexpr const char* kDefaultObjectName = "";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelAnimation& source);

    explicit KXModelAnimation(const std::string& name);
    KXModelAnimation(const KXModelAnimation& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;
};
