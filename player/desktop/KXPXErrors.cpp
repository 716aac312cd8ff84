#include "player/desktop/KXPXErrors.h"

#include <X11/Xlib.h>
#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t windowGone = 0;
uintptr_t playerWindow = 0;
void (*saveBeforeExit)() = nullptr;
// Each ignored error costs a line; a broken peer could send thousands.
int ignoredLogged = 0;
const int kMaxIgnoredLogged = 20;
bool leaving = false;

// What a request on a destroyed window fails with: BadWindow, BadDrawable, or an extension's own
// error (GLX's bad drawable, the input extension's).
bool meansGone(const XErrorEvent& event) {
    return event.error_code == BadWindow || event.error_code == BadDrawable ||
           event.error_code >= FirstExtensionError;
}

int onXError(Display*, XErrorEvent* event) {
    if (playerWindow != 0 && event->resourceid == playerWindow && meansGone(*event)) {
        if (!windowGone) {
            std::fprintf(stderr, "[KXPXErrors] the window went away (X error %d, request %d.%d): closing\n",
                         event->error_code, event->request_code, event->minor_code);
        }
        windowGone = 1;
        return 0;
    }
    if (ignoredLogged < kMaxIgnoredLogged) {
        ++ignoredLogged;
        std::fprintf(stderr, "[KXPXErrors] X error %d (request %d.%d) on 0x%lx ignored\n", event->error_code,
                     event->request_code, event->minor_code, static_cast<unsigned long>(event->resourceid));
    }
    return 0;
}

// Xlib ends the process itself if this returns, so it never does.
int onXIOError(Display*) {
    if (!leaving) {
        leaving = true;
        std::fprintf(stderr, "kxplayer: lost the X display: saving progress and ending\n");
        std::fflush(stderr);
        if (saveBeforeExit)
            saveBeforeExit();
    }
    std::fflush(stdout);
    std::fflush(stderr);
    // Not exit(): destructors and atexit handlers would talk to the dead display.
    ::_exit(kLostDisplayStatus);
}

} // namespace

void installXErrorHandlers(uintptr_t windowId, void (*saveOnLostDisplay)()) {
    playerWindow = windowId;
    saveBeforeExit = saveOnLostDisplay;
    XSetErrorHandler(onXError);
    XSetIOErrorHandler(onXIOError);
}

bool xWindowGone() {
    return windowGone != 0;
}

void clearXWindowGone() {
    windowGone = 0;
    ignoredLogged = 0;
}
