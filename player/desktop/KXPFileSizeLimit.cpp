#include "player/desktop/KXPFileSizeLimit.h"

#include <csignal>

void ignoreFileSizeSignal() {
    struct sigaction action = {};
    action.sa_handler = SIG_IGN;
    sigemptyset(&action.sa_mask);
    sigaction(SIGXFSZ, &action, nullptr);
}
