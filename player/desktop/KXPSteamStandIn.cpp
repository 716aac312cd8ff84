#include "player/desktop/KXPSteamStandIn.h"

#include <cstdio>

bool steamStandInInit() {
    return false;
}

void printSteamStarted(bool started) {
    std::fputs("Steam Started: %b", stdout);
    std::fputs(started ? "1\n" : "0\n", stdout);
    std::fflush(stdout);
}
