#pragma once

#include "model/classes/KXBaseModelObject.h"

#include <memory>
#include <string>

class KXModelObject : public KXBaseModelObject {
    KX_MODEL_IDENTITY(KXModelObject, KXBaseModelObject)
    KX_MODEL_CREATE(KXModelObject)
    KX_MODEL_CLONE(KXModelObject)

public:
    static constexpr const char* kDefaultObjectName = "Untitled";

    explicit KXModelObject(const std::string& name);
    KXModelObject(const KXModelObject& source);
};
