#pragma once

// Moves its owner's body at a set velocity while it is active. So far only the switch that
// other objects use to carry its state over; the motion, its triggers, animation and sound
// come with the components.

#include "player/components/KXComponent.h"

class KXComponentMove : public KXComponent {
public:
    // Switching through the enabled flag never keeps the body's running velocity.
    void setEnabled(bool enabled) override;
    // Nothing when the flag already has that value or the owner is dead or removed (state 4
    // or 5). `keepBodyVelocity` carries the body's current motion over instead of the model's.
    void setActive(bool active, bool keepBodyVelocity);
};
