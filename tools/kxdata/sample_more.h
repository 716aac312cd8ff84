// The sample's effect objects, unit, component models, button kinds and UI helpers: one placed
// model of each, with values other than the defaults so that a round trip shows them.
#pragma once

namespace kxdata {

struct SampleGame;

// Adds an effects screen (UI node, buttons, selector, observer), gives the first level section
// the effect and control objects, and the first character asset its behaviour components.
void addSampleMore(SampleGame& game);

} // namespace kxdata
