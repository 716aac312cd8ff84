#pragma once

// Menus of buttons and selectors take touches by depth: the higher the depth, the earlier the
// menu (a lower priority value) sees a touch.

#include <climits>

// The depth negated. The lowest depth has no negation in an int: it stays itself, as two's
// complement negation leaves it, without the overflow.
inline int touchPriorityForDepth(int depth) {
    return depth == INT_MIN ? INT_MIN : -depth;
}
