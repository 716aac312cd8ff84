// Getters that the game's screens and objects read on models whose classes live elsewhere.

#include "model/classes/KXBaseModelObjectButtonPowerup.h"

bool KXBaseModelObjectButtonPowerup::isLayeringAboveCharacter() const {
    return layering() == "kAboveCharacter";
}
