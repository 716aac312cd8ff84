#pragma once

#include "model/classes/KXBaseModelObjectCharacterSelector.h"

#include <memory>
#include <string>

class KXModelObjectCharacterSelector : public KXBaseModelObjectCharacterSelector {
    KX_MODEL_IDENTITY(KXModelObjectCharacterSelector, KXBaseModelObjectCharacterSelector)

public:
    static constexpr const char* kDefaultObjectName = "";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelObjectCharacterSelector& source);

    explicit KXModelObjectCharacterSelector(const std::string& name);
    KXModelObjectCharacterSelector(const KXModelObjectCharacterSelector& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;
};
