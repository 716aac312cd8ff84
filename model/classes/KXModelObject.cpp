#include "model/classes/KXModelObject.h"

KXModelObject::KXModelObject(const std::string& name) : KXBaseModelObject(name) {}

KXModelObject::KXModelObject(const KXModelObject& source) : KXBaseModelObject(source) {}
