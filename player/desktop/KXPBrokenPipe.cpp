#include "player/desktop/KXPBrokenPipe.h"

#include <csignal>

void ignoreBrokenPipeSignal() {
    struct sigaction action = {};
    action.sa_handler = SIG_IGN;
    sigemptyset(&action.sa_mask);
    sigaction(SIGPIPE, &action, nullptr);
}
