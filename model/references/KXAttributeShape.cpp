#include "model/references/KXAttributeShape.h"

KXAttributeShape::KXAttributeShape(const std::string& name, KXModel* owner, uint32_t flags)
    : KXBaseAttributeShape(name, owner, flags) {}

KXAttributeShape::KXAttributeShape(const std::string& name, KXModel* owner, const KXAttributeShape& source)
    : KXBaseAttributeShape(name, owner, source) {}
