#include "player/components/KXComponentHealth.h"

bool KXComponentHealth::takeDamage(int /*damage*/, float /*delay*/) {
    return false;
}
