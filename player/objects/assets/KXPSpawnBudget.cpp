#include "player/objects/assets/KXPSpawnBudget.h"

#include "model/KXDebugLog.h"

namespace {
size_t g_liveCopies = 0;
bool g_refusalLogged = false;
} // namespace

bool KXPSpawnBudget::allows() {
    if (g_liveCopies < kLiveCopies) {
        return true;
    }
    if (!g_refusalLogged) {
        g_refusalLogged = true;
        debugLog("[KXPSpawnBudget] %zu spawned copies exist: spawners skip their shots until some have gone",
                 g_liveCopies);
    }
    return false;
}

void KXPSpawnBudget::copyMade() {
    ++g_liveCopies;
}

void KXPSpawnBudget::copyGone() {
    if (g_liveCopies > 0 && --g_liveCopies == 0) {
        g_refusalLogged = false;
    }
}

size_t KXPSpawnBudget::liveCopies() {
    return g_liveCopies;
}
