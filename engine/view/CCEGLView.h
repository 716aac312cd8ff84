// The desktop view: an SDL2 window with a GL 2.1 compatibility context (also SDL's offscreen
// driver, which needs no X server), or a headless view without GL. The size arithmetic lives
// in CCEGLViewProtocol; this class owns the window, the context and the event pump.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "director/CCEGLViewProtocol.h"

union SDL_Event;
struct SDL_Window;

NS_CC_BEGIN

// Called for every translated window message before the engine handles it; setting
// *handled skips the engine's own handling.
typedef int (*CCWndProcHook)(unsigned int msg, uintptr_t wParam, intptr_t lParam, bool* handled);

class CCEGLView : public CCEGLViewProtocol {
public:
    enum Backend {
        kBackendWindow,    // a real window (X11, Wayland...)
        kBackendOffscreen, // SDL_VIDEODRIVER=offscreen: GL without a display
        kBackendHeadless,  // no GL at all; nothing is drawn
    };

    // Created on first use. The back end follows SDL_VIDEODRIVER ("dummy" gives headless,
    // "offscreen" the offscreen GL view); when no GL context can be made the view falls back
    // to headless and logs why.
    static CCEGLView* sharedOpenGLView();
    // Makes the shared view headless with the given frame size (call before sharedOpenGLView).
    static CCEGLView* createHeadless(float width, float height);
    // Destroys the shared view (window and context); the next sharedOpenGLView makes a new one,
    // headless only when asked again.
    static void purgeSharedOpenGLView();

    ~CCEGLView() override;

    Backend getBackend() const { return m_backend; }
    bool isOpenGLReady() override { return m_glReady; }
    // A headless view walks the scene graph each frame too (drawing nothing) once tools ask for
    // it with setRenderingEnabled(true), so that what runs in draw() still runs.
    bool renderingEnabled() const override { return m_glReady || m_renderingEnabled; }
    void beginFrame() override;
    // Saves the next finished frame, just before it is shown, as a PNG (nothing without GL).
    void captureNextFrame(const std::string& pngPath) { m_capturePath = pngPath; }
    void swapBuffers() override;
    // Asks the application loop to stop after the current frame.
    void end() override;
    bool windowShouldClose() const { return m_shouldClose; }
    // Clears (or sets) a pending close, e.g. when the game asks "really quit?" and the answer is no.
    void setWindowShouldClose(bool close) { m_shouldClose = close; }

    void setFrameSize(float width, float height) override;
    void setViewName(const char* viewName) override;
    void setViewPortInPoints(float x, float y, float w, float h) override;
    void setScissorInPoints(float x, float y, float w, float h) override;

    // The X11 window id for input libraries; 0 when not on X11 or without a window.
    uintptr_t getHWnd() const;
    SDL_Window* getSDLWindow() const { return m_window; }

    void setWndProc(CCWndProcHook hook) { m_wndProc = hook; }
    CCWndProcHook getWndProc() const { return m_wndProc; }
    // Maps an SDL event to a window message for the hook (false: no message). Set by the
    // desktop layer, which knows the message numbering.
    typedef std::function<bool(const SDL_Event& event, unsigned int* msg, uintptr_t* wParam,
                               intptr_t* lParam)>
        MessageTranslator;
    void setMessageTranslator(MessageTranslator translator) { m_translator = std::move(translator); }

    // Handles every pending SDL event: the hook first, then window close, minimise/restore
    // (application background/foreground), resizes, the mouse as touch id 0 (left button)
    // and the back/menu keys (AC_BACK or Shift+F1, Shift+F2). Returns false once the window
    // should close.
    bool pollEvents();
    // One event, as pollEvents does it (tests feed synthetic events through here).
    void handleEvent(const SDL_Event& event);

private:
    CCEGLView() = default;
    bool createWindow(bool offscreen);
    void destroyWindow();
    void handleMouse(const SDL_Event& event);

    Backend m_backend = kBackendHeadless;
    SDL_Window* m_window = nullptr;
    void* m_context = nullptr;
    bool m_glReady = false;
    bool m_shouldClose = false;
    bool m_mouseDown = false;
    bool m_minimised = false;
    bool m_ownsVideo = false;
    CCWndProcHook m_wndProc = nullptr;
    MessageTranslator m_translator;
    std::string m_capturePath;
};

NS_CC_END
