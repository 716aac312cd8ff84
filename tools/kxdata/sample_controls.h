// The sample's unlockers, labels, purchase buttons, obstacles and touch and tilt controls, and
// the completion of the sample with one model of every registered class.
#pragma once

#include <cstddef>

namespace kxdata {

struct SampleGame;

// Fills the sample's labels, purchase button and obstacle, and adds a controls screen with an
// unlocker, a second purchase button, a manipulator and an accelerometer. Runs while the game
// is built, before it is packed.
void addSampleControls(SampleGame& game);

// Adds the models that attributes refer to but the game does not hold yet (the placeholder
// shapes of jump and move components), so that a reload refers to the same ones. Runs last.
void storeReferencedModels(SampleGame& game);

// Adds one model of each registered class that the game does not use yet, and raises the
// settings' "Last ID" over the new ids. Returns the number of models added.
size_t addEveryRegisteredClass(SampleGame& game);

} // namespace kxdata
