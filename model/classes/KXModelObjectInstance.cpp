#include "model/classes/KXModelObjectInstance.h"

KXModelObjectInstance::KXModelObjectInstance(const std::string& name) : KXBaseModelObjectInstance(name) {}

KXModelObjectInstance::KXModelObjectInstance(const KXModelObjectInstance& source)
    : KXBaseModelObjectInstance(source) {}
