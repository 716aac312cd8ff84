#include "model/references/KXAttributeObject.h"

KXAttributeObject::KXAttributeObject(const std::string& name, KXModel* owner, uint32_t flags)
    : KXBaseAttributeModel<KXModelObject>(name, owner, flags) {}

KXAttributeObject::KXAttributeObject(const std::string& name, KXModel* owner, const KXAttributeObject& source)
    : KXBaseAttributeModel<KXModelObject>(name, owner, source) {}
