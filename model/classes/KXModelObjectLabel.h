#pragma once

#include "model/classes/KXBaseModelObjectLabel.h"

#include <memory>
#include <string>

class KXModelObjectLabel : public KXBaseModelObjectLabel {
    KX_MODEL_IDENTITY(KXModelObjectLabel, KXBaseModelObjectLabel)

public:
    static constexpr const char* kDefaultObjectName = "Untitled";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelObjectLabel& source);

    explicit KXModelObjectLabel(const std::string& name);
    KXModelObjectLabel(const KXModelObjectLabel& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;
};
