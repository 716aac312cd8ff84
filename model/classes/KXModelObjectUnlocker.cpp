#include "model/classes/KXModelObjectUnlocker.h"

KXModelObjectUnlocker::KXModelObjectUnlocker(const std::string& name) : KXBaseModelObjectUnlocker(name) {}

KXModelObjectUnlocker::KXModelObjectUnlocker(const KXModelObjectUnlocker& source)
    : KXBaseModelObjectUnlocker(source) {}
