#pragma once

#include "model/classes/KXBaseModelObjectButtonCharacterUnlock.h"

#include <memory>
#include <string>

class KXModelObjectButtonCharacterUnlock : public KXBaseModelObjectButtonCharacterUnlock {
    KX_MODEL_IDENTITY(KXModelObjectButtonCharacterUnlock, KXBaseModelObjectButtonCharacterUnlock)

public:
    static constexpr const char* kDefaultObjectName = "Single Unlock";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelObjectButtonCharacterUnlock& source);

    explicit KXModelObjectButtonCharacterUnlock(const std::string& name);
    KXModelObjectButtonCharacterUnlock(const KXModelObjectButtonCharacterUnlock& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;
};
