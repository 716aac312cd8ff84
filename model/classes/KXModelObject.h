#pragma once

#include "model/classes/KXBaseModelObject.h"

#include <memory>
#include <string>

class KXModelObject : public KXBaseModelObject {
    KX_MODEL_IDENTITY(KXModelObject, KXBaseModelObject)

public:
    static constexpr const char* kDefaultObjectName = "Untitled";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelObject& source);

    explicit KXModelObject(const std::string& name);
    KXModelObject(const KXModelObject& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;
};
