#pragma once

// Counts its owner's health and takes the hits of contact damage. So far the type that the
// owner looks its health component up by and the entry for hits; counting, the death delay and
// the damage look come with the components.

#include "player/components/KXComponent.h"

class KXComponentHealth : public KXComponent {
public:
    // A hit of `damage` points, protected against further hits for `delay` seconds; true when it
    // was taken. Nothing is counted yet, so nothing is taken.
    virtual bool takeDamage(int damage, float delay);
};
