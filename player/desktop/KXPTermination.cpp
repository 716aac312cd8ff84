#include "player/desktop/KXPTermination.h"

#include "model/KXDebugLog.h"
#include "player/desktop/KXPTerminationGuard.h"
#include "player/desktop/KXPXErrors.h"

#include <atomic>
#include <cerrno>
#include <csignal>

namespace {

volatile std::sig_atomic_t requested = 0;
// Lock-free, so the handler may read it; trivially destructible, so a signal during the process's
// exit still finds it.
std::atomic<KXPTerminationGuard*> guardToWake{nullptr};

void onSignal(int) {
    const int savedErrno = errno;
    requested = 1;
    if (KXPTerminationGuard* guard = guardToWake.load()) {
        guard->wake();
    }
    errno = savedErrno;
}

} // namespace

void installTerminationHandlers(KXPTerminationGuard* guard) {
    guardToWake = guard;
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

bool terminationRequested() {
    return requested != 0;
}

void clearTerminationRequest() {
    requested = 0;
}

void KXPTerminationWatch::update(float dt) {
    (void)dt;
    cocos2d::CCEGLView* view = cocos2d::CCEGLView::sharedOpenGLView();
    if (view->windowShouldClose()) {
        return;
    }
    if (terminationRequested()) {
        debugLog("[KXPTermination] asked to terminate: closing");
        view->end();
    } else if (xWindowGone()) {
        debugLog("[KXPTermination] the window is gone: closing");
        view->end();
    }
}
