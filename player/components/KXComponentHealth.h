#pragma once

// Counts its owner's health and takes the hits of contact damage. So far only the type that
// the owner looks its health component up by; the counting comes with the components.

#include "player/components/KXComponent.h"

class KXComponentHealth : public KXComponent {};
