#pragma once

// The player bounds the physics step's work whatever the data: bodies held out of the physics
// while a step would cost more than a frame, continuous collision switched off for a step whose
// work would break the frame, rebuilds that stop laying at a contact count. None of them should
// ever act on a level a user can validly make. KX_PHYSICS_BOUNDS=off in the environment turns all
// of them off, so that a level plays as the physics alone plays it: the oracle against which a
// valid level, played with them on, must trace the same.
namespace kx {

// On unless the environment says KX_PHYSICS_BOUNDS=off (read once) or a test set it.
bool physicsBoundsOn();
// For tests: holds over the environment until set again.
void setPhysicsBoundsOn(bool on);

} // namespace kx
