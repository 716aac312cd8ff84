#pragma once

// The game window's modes and the view that follows it: full screen (the whole display the
// window is on) or windowed (half the display's size, landscape or portrait), the resize of the
// view when the window changes, and the handling of window requests and SDL window events on
// the main loop.

#include <SDL2/SDL.h>

#include <cstdint>
#include <functional>

class KXPWindowModes {
public:
    struct Rect {
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
    };
    using DisplayBounds = std::function<Rect()>;

    static KXPWindowModes* shared();

    // The rectangle of the display the window is on (tests give their own); the default asks
    // SDL, and without a window takes the view's frame at (0, 0).
    void setDisplayBounds(DisplayBounds bounds) { m_displayBounds = std::move(bounds); }
    Rect displayBounds() const;

    // Applies the mode. Unless `force`, the current mode is left alone and a change also sets
    // the design resolution again. The window's position is set once and then left to the user.
    void setWindowMode(bool fullscreen, bool force);
    bool isFullscreen() const { return m_fullscreen; }
    // The view follows a window of this client size.
    void resizeView(int width, int height);

    // Windowed: half the display, landscape (orientation 1) or portrait, its top-left a quarter
    // of the display in from the display's corner.
    static Rect windowedFrame(const Rect& display, int orientation);

    // Routes the view's window events and the window requests through this object.
    void install();

    // The hooks that install() gives the engine's view.
    static bool translateEvent(const SDL_Event& event, unsigned int* message, uintptr_t* wParam,
                               intptr_t* lParam);
    static int windowProc(unsigned int message, uintptr_t wParam, intptr_t lParam, bool* handled);

private:
    KXPWindowModes() = default;
    void handleMessage(unsigned int message, uintptr_t wParam, intptr_t lParam, bool* handled);
    void applyDesignResolution();

    DisplayBounds m_displayBounds;
    bool m_fullscreen = false;
    bool m_maximized = false;
    bool m_remaximizeOnRestore = false;
};
