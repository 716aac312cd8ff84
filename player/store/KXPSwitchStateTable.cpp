#include "player/store/KXPSwitchStateTable.h"

namespace {
constexpr std::size_t kInitialBuckets = 8;
} // namespace

KXPSwitchStateMap& switchStateTable() {
    // Never destroyed: buttons released late at exit may still look into it.
    static KXPSwitchStateMap* table = new KXPSwitchStateMap(kInitialBuckets);
    return *table;
}

void clearSwitchStates() {
    // A fresh table, not clear(): clear() keeps however many buckets the table grew to.
    KXPSwitchStateMap(kInitialBuckets).swap(switchStateTable());
}
