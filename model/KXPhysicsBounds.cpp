#include "model/KXPhysicsBounds.h"

#include <cstdlib>
#include <cstring>

namespace {

bool fromEnvironment() {
    const char* value = std::getenv("KX_PHYSICS_BOUNDS");
    return value == nullptr || std::strcmp(value, "off") != 0;
}

bool& boundsOn() {
    static bool on = fromEnvironment();
    return on;
}

} // namespace

bool kx::physicsBoundsOn() {
    return boundsOn();
}

void kx::setPhysicsBoundsOn(bool on) {
    boundsOn() = on;
}
