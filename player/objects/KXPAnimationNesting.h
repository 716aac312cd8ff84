#pragma once

// How far what an animation shows may nest. Its objects may be units that show animations of
// their own, whose objects may be units again, without end when the models loop; and its nodes
// hang under one another as their models do, a chain as long as the data makes it. Every frame's
// visit, transforms and updates go down the whole tree, so both are bounded far above what
// exported games nest (a unit shows one or two levels, pictures hang one under another).

#include <cstddef>
#include <vector>

// The build of one animation's nodes, within the builds of the animations above it (a unit shown
// by an animation builds its own animations inside the outer one's build). Each level updates what
// it holds twice a frame (the holder's update and the animation's), so a node built N levels down
// costs 2^N updates a frame: what an outermost build makes, all levels together, may cost at most
// kMaxNestedUpdates, and no node is built more than kMaxNestedLevels levels down; past either no
// more nodes are built there, saying so once for each. An animation shown inside itself (a unit
// whose animation shows that unit) is a loop no game can show whole: the inner one shows nothing,
// said once an outermost build.
class KXPAnimationBuildScope {
public:
    static constexpr size_t kMaxNestedUpdates = size_t(1) << 20;
    static constexpr size_t kMaxNestedLevels = 12;

    explicit KXPAnimationBuildScope(const void* animation);
    ~KXPAnimationBuildScope();
    KXPAnimationBuildScope(const KXPAnimationBuildScope&) = delete;
    KXPAnimationBuildScope& operator=(const KXPAnimationBuildScope&) = delete;

    // Whether this animation is already being built further up: it then builds nothing, and the
    // first in an outermost build says so.
    bool loops(const char* animationName);
    // Whether one more node may be built at this level (charged when it may).
    bool admitNode(const char* animationName);

private:
    bool m_loops = false;
};

// Where each entry's node hangs, from the entry each one's model hangs under (kNestTop: none).
// Entries are placed in order; one whose place would close a loop (models each other's parents)
// or lie more than kMaxNestDepth levels down hangs at the top. `cut` tells whether one went to the
// top for its depth.
constexpr size_t kNestTop = static_cast<size_t>(-1);
constexpr size_t kMaxNestDepth = 256;
std::vector<size_t> kxpNestEntries(const std::vector<size_t>& wanted, bool* cut);
