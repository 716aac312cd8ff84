#pragma once

#include "model/classes/KXBaseModelObjectPath.h"

#include <memory>
#include <string>

class KXModelObjectPath : public KXBaseModelObjectPath {
    KX_MODEL_IDENTITY(KXModelObjectPath, KXBaseModelObjectPath)

public:
    static constexpr const char* kDefaultObjectName = "Path";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelObjectPath& source);

    explicit KXModelObjectPath(const std::string& name);
    KXModelObjectPath(const KXModelObjectPath& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;
};
