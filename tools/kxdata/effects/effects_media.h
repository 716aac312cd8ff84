// The media a game ships for its hand-drawn effects, beside the models: the light map, the
// default trail and flag textures ("data/fx/...") and the water reflection shader
// ("data/shaders/WaterReflection.fsh", in the engine's shader dialect: its attribute, varying and
// uniform names and the precision prelude, so that it runs with the engine's built-in vertex
// shader).
#pragma once

#include <cstddef>
#include <string>

#include "tools/kxdata/demo/demo_canvas.h"

namespace kxdata {
namespace effects {

// White light, fully bright in the middle and gone at the inscribed circle.
demo::Canvas lightMapCanvas();
// A soft white ribbon, brightest along its middle and at its head (left), fading to its tail.
demo::Canvas trailMapCanvas();
// A red and cream pennant with a darker hoist on the left.
demo::Canvas flagMapCanvas();
// The reflection shader's text.
const char* waterReflectionShader();

// Writes DIR/data/fx/lightMap.png, trailMap.png, flagMap.png and DIR/data/shaders/
// WaterReflection.fsh; answers the number of files that could not be written.
size_t writeEffectMedia(const std::string& dir);

} // namespace effects
} // namespace kxdata
