// The sample game's screen flow: a start node, menu and interface screens and a game scene with
// level sections, linkers and objects, joined through node ports the way the editor saves them.
#pragma once

namespace kxdata {

struct SampleGame;

// Gives the sample's nodes their names, ports and screens (reusing the nodes and screens already
// made, adding the missing ones), the screens their keys, ads and music, and the game scene its
// gameplay values and level sections. Runs while the game is built, before it is packed.
void addSampleScenes(SampleGame& game);

} // namespace kxdata
