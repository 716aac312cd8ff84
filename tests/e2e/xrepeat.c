/* Switches the X server's key auto-repeat on (first delay 200 ms, 25 repeats a second), so that a
   key held by a test repeats as a held key on a real keyboard does. Prints "repeat on". */
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <stdio.h>

int main(void) {
    Display* display = XOpenDisplay(NULL);
    if (display == NULL) {
        fprintf(stderr, "xrepeat: no display\n");
        return 1;
    }
    XAutoRepeatOn(display);
    XkbSetAutoRepeatRate(display, XkbUseCoreKbd, 200, 40);
    XKeyboardState state;
    XGetKeyboardControl(display, &state);
    XCloseDisplay(display);
    if (!state.global_auto_repeat) {
        fprintf(stderr, "xrepeat: auto-repeat stays off\n");
        return 1;
    }
    printf("repeat on\n");
    return 0;
}
