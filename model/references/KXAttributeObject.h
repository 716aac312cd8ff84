#pragma once

#include "model/classes/KXModelObject.h"
#include "model/references/KXBaseAttributeModel.h"

#include <string>

// Refers to an object model (or a model of a class derived from it).
class KXAttributeObject : public KXBaseAttributeModel<KXModelObject> {
    KX_TYPE_IDENTITY(KXAttributeObject)
    KX_ATTRIBUTE_CLONE(KXAttributeObject)

public:
    KXAttributeObject(const std::string& name, KXModel* owner, uint32_t flags = 0);
    KXAttributeObject(const std::string& name, KXModel* owner, const KXAttributeObject& source);
};
