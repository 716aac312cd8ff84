#include "player/desktop/KXPTermination.h"

#include "model/KXDebugLog.h"
#include "player/desktop/KXPXErrors.h"

#include <csignal>

namespace {

volatile std::sig_atomic_t requested = 0;

void onSignal(int) {
    requested = 1;
}

} // namespace

void installTerminationHandlers() {
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
    if (view->windowShouldClose())
        return;
    if (terminationRequested()) {
        debugLog("[KXPTermination] asked to terminate: closing");
        view->end();
    } else if (xWindowGone()) {
        debugLog("[KXPTermination] the window is gone: closing");
        view->end();
    }
}
