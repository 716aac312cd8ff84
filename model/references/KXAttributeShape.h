#pragma once

#include "model/references/KXBaseAttributeShape.h"

#include <string>

class KXAttributeShape : public KXBaseAttributeShape {
    KX_TYPE_IDENTITY(KXAttributeShape)
    KX_ATTRIBUTE_CLONE(KXAttributeShape)

public:
    KXAttributeShape(const std::string& name, KXModel* owner, uint32_t flags = 0);
    KXAttributeShape(const std::string& name, KXModel* owner, const KXAttributeShape& source);
};
