#include "player/objects/KXPAnimationNesting.h"

#include "model/KXDebugLog.h"

#include <algorithm>

namespace {

struct BuildState {
    size_t level = 0;
    size_t spent = 0;
    bool reportedLevels = false;
    bool reportedUpdates = false;
    bool reportedLoop = false;
    // The animations being built, outermost first.
    std::vector<const void*> chain;
};

BuildState& state() {
    static BuildState current;
    return current;
}

// The root of `entry` in the forest of entries placed so far, shortening the paths walked.
size_t rootOf(std::vector<size_t>& up, size_t entry) {
    size_t root = entry;
    while (up[root] != root) {
        root = up[root];
    }
    while (up[entry] != root) {
        const size_t next = up[entry];
        up[entry] = root;
        entry = next;
    }
    return root;
}

} // namespace

KXPAnimationBuildScope::KXPAnimationBuildScope(const void* animation) {
    BuildState& current = state();
    if (current.level++ == 0) {
        current.spent = 0;
        current.reportedLevels = false;
        current.reportedUpdates = false;
        current.reportedLoop = false;
    }
    m_loops = std::find(current.chain.begin(), current.chain.end(), animation) != current.chain.end();
    current.chain.push_back(animation);
}

KXPAnimationBuildScope::~KXPAnimationBuildScope() {
    BuildState& current = state();
    current.chain.pop_back();
    --current.level;
}

bool KXPAnimationBuildScope::loops(const char* animationName) {
    BuildState& current = state();
    if (m_loops && !current.reportedLoop) {
        current.reportedLoop = true;
        debugLog("[KXPAnimationObject] %s: shown inside itself, it shows nothing there", animationName);
    }
    return m_loops;
}

bool KXPAnimationBuildScope::admitNode(const char* animationName) {
    BuildState& current = state();
    if (current.level > kMaxNestedLevels) {
        if (!current.reportedLevels) {
            current.reportedLevels = true;
            debugLog("[KXPAnimationObject] %s: objects nested more than %zu levels down are left out",
                     animationName, kMaxNestedLevels);
        }
        return false;
    }
    const size_t cost = size_t(1) << current.level;
    if (current.spent <= kMaxNestedUpdates - cost) {
        current.spent += cost;
        return true;
    }
    if (!current.reportedUpdates) {
        current.reportedUpdates = true;
        debugLog("[KXPAnimationObject] %s: objects nested %zu levels down are left out: what one animation "
                 "shows would take more than %zu updates a frame",
                 animationName, current.level, kMaxNestedUpdates);
    }
    return false;
}

std::vector<size_t> kxpNestEntries(const std::vector<size_t>& wanted, bool* cut) {
    const size_t count = wanted.size();
    std::vector<size_t> parent(count, kNestTop);
    // Placing an entry under one whose root it is would close a loop (the entry itself is a root
    // until placed): the same test as walking up from the parent, without the walk.
    std::vector<size_t> up(count);
    for (size_t entry = 0; entry < count; ++entry) {
        up[entry] = entry;
    }
    for (size_t entry = 0; entry < count; ++entry) {
        const size_t target = wanted[entry];
        if (target < count && rootOf(up, target) != entry) {
            parent[entry] = target;
            up[entry] = target;
        }
    }
    // Depths from the top down, each parent's before its children's; one too deep starts anew at
    // the top, and what hangs below it follows.
    std::vector<size_t> depth(count, 0);
    std::vector<size_t> pending;
    bool anyCut = false;
    for (size_t entry = 0; entry < count; ++entry) {
        for (size_t at = entry; depth[at] == 0; at = parent[at]) {
            pending.push_back(at);
            if (parent[at] == kNestTop) {
                break;
            }
        }
        while (!pending.empty()) {
            const size_t at = pending.back();
            pending.pop_back();
            depth[at] = parent[at] == kNestTop ? 1 : depth[parent[at]] + 1;
            if (depth[at] > kMaxNestDepth) {
                parent[at] = kNestTop;
                depth[at] = 1;
                anyCut = true;
            }
        }
    }
    if (cut != nullptr) {
        *cut = anyCut;
    }
    return parent;
}
