#pragma once

#include "model/classes/KXBaseModelLinker.h"

#include <memory>
#include <string>

class KXModelLinker : public KXBaseModelLinker {
    KX_MODEL_IDENTITY(KXModelLinker, KXBaseModelLinker)

public:
    static constexpr const char* kDefaultObjectName = "";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelLinker& source);

    explicit KXModelLinker(const std::string& name);
    KXModelLinker(const KXModelLinker& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;
};
