// The hostile game's hall of edges: a game scene ("edges") and its heads-up screen that hold the
// objects whose extreme values a player must survive: a background tiled with a large negative
// offset, a mirror of scale 0 (and no reflection shader in the game), a light of radius 0 amid 100
// blockers (and a light that reaches them all), a trail of length 0, two portals that neither
// swallow nor wear out, a path that is left behind while it carries a plank, a powerup button whose
// selection names no asset, a review request after 0 plays and a character selector without spread.
#pragma once

#include "tools/kxdata/demo/demo_game.h"
#include "tools/kxdata/hostile/hostile_runaway.h"

namespace kxdata {
namespace hostile {

constexpr const char* kEdgesKey = "edges";
constexpr const char* kEdgesHudKey = "edges-hud";

// Builds the hall into a game of its own: its models (made after the damaged demo's, so that
// their ids follow on), pictures and atlas, and the runaway field after it with `runaway`'s
// values; `font` is the demo's. Its models join the demo's.
demo::DemoGame buildEdgeHall(const std::shared_ptr<KXModelFont>& font, const RunawayValues& runaway);

} // namespace hostile
} // namespace kxdata
