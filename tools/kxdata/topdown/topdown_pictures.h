// The pictures of the games seen from above, drawn as a player sees them from overhead: a lawn, a
// hedge, trees, beetles and moths, gems, a spinning top in eight turns, the explorer and the pads
// of the on-screen controls.
#pragma once

#include "tools/kxdata/demo/demo_canvas.h"

namespace kxdata {
namespace topdown {

using demo::Canvas;
using demo::Colour;

Canvas lawnCanvas();
Canvas hedgeCanvas();
Canvas treeCanvas(Colour leaves);
Canvas crateCanvas();
Canvas beetleCanvas();
Canvas mothCanvas(bool wingsUp);
Canvas gemCanvas(Colour colour);
// The top seen from above with its stripe turned by `turn` eighths of a circle.
Canvas topCanvas(int turn);
// The explorer from above, facing right: `step` moves the feet, `lifted` draws it in the air,
// `dashing` streaks it.
struct ExplorerPose {
    int step = 0;
    bool lifted = false;
    bool dashing = false;
};
Canvas explorerCanvas(const ExplorerPose& pose);
Canvas shadowCanvas();
// Dust puffs around the explorer while it ducks (drawn over its own look).
Canvas duckDustCanvas();
// A translucent square pad of a control with its caption.
Canvas padCanvas(const char* caption, Colour colour);

} // namespace topdown
} // namespace kxdata
