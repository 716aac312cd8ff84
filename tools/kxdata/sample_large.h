// Games of any size for benchmarks and size tests: the sample grown by copies of its level
// sections, screens and assets, the way a big exported game repeats a few kinds of content.
#pragma once

#include <cstddef>

namespace kxdata {

struct SampleGame;

// Adds copies of the sample's level sections, screens and assets (with their objects, components
// and shapes; sprites, atlases, animations, sounds and fonts stay shared, as in a real game)
// in turn until the game holds at least `models` models, and raises the settings' "Last ID" over
// the new ids. Returns the number of models added.
size_t growSampleGame(SampleGame& game, size_t models);

} // namespace kxdata
