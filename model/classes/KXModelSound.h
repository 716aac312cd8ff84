#pragma once

#include "model/classes/KXBaseModelSound.h"

#include <memory>
#include <string>

class KXModelSound : public KXBaseModelSound {
    KX_MODEL_IDENTITY(KXModelSound, KXBaseModelSound)

public:
    static constexpr const char* kDefaultObjectName = "";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelSound& source);

    explicit KXModelSound(const std::string& name);
    KXModelSound(const KXModelSound& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;
};
