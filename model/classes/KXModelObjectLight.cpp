#include "model/classes/KXModelObjectLight.h"

KXModelObjectLight::KXModelObjectLight(const std::string& name) : KXBaseModelObjectLight(name) {}

KXModelObjectLight::KXModelObjectLight(const KXModelObjectLight& source) : KXBaseModelObjectLight(source) {}
