#include "player/base/KXPGameDataLoaded.h"

namespace {
bool gameDataLoaded = false;
}

bool isGameDataLoaded() {
    return gameDataLoaded;
}

void setGameDataLoaded(bool loaded) {
    gameDataLoaded = loaded;
}
