// The shooter's pictures, drawn in the demo's style: flat shapes in readable, distinct colours on a
// dark starfield (the ship teal, enemies red and orange, each powerup a colour of its own).
#pragma once

#include "tools/kxdata/demo/demo_canvas.h"

namespace kxdata {
namespace shooter {

using demo::Canvas;
using demo::Colour;

Canvas starfieldCanvas();
Canvas nebulaCanvas();
// The ship facing right; `hurt` tints it red, `flame` lengthens its exhaust.
Canvas shipCanvas(bool hurt, bool flame);
Canvas shipBoltCanvas();
Canvas droneCanvas(bool hurt);
Canvas wreckCanvas();
Canvas plasmaCanvas();
Canvas turretCanvas();
// A round token with a symbol in the middle: the look of every collectable.
Canvas tokenCanvas(Colour rim, Colour face, char symbol);
// A ring drawn round the ship while a powerup runs.
Canvas auraCanvas(Colour colour);
Canvas panelCanvas();

} // namespace shooter
} // namespace kxdata
