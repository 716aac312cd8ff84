#include <GL/glew.h>

#include "view/CCEGLView.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "director/CCDirector.h"
#include "input/CCKeypadDispatcher.h"
#include "renderer/CCGLContext.h"
#include "renderer/CCQuadRenderer.h"
#include "renderer/CCShaderCache.h"
#include "renderer/ccDrawCounter.h"
#include "renderer/ccGLStateCache.h"
#include "view/CCApplication.h"
#include "view/CCGLDriverPin.h"
#include "view/CCScreenshot.h"

NS_CC_BEGIN

namespace {

CCEGLView* g_sharedView = nullptr;
bool g_forceHeadless = false;
float g_headlessWidth = 0.f;
float g_headlessHeight = 0.f;

constexpr int kDefaultWidth = 960;
constexpr int kDefaultHeight = 640;

int toPixels(float value) {
    if (!std::isfinite(value))
        return 0;
    return static_cast<int>(std::lround(std::fmax(-1.0e6f, std::fmin(1.0e6f, value))));
}

} // namespace

CCEGLView* CCEGLView::createHeadless(float width, float height) {
    if (g_sharedView && g_sharedView->m_backend != kBackendHeadless)
        purgeSharedOpenGLView();
    g_forceHeadless = true;
    g_headlessWidth = width;
    g_headlessHeight = height;
    return sharedOpenGLView();
}

CCEGLView* CCEGLView::sharedOpenGLView() {
    if (g_sharedView)
        return g_sharedView;
    CCEGLView* view = new CCEGLView();
    g_sharedView = view;
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    const bool dummy = driver && std::strcmp(driver, "dummy") == 0;
    const bool offscreen = driver && std::strcmp(driver, "offscreen") == 0;
    if (!g_forceHeadless && !dummy && view->createWindow(offscreen)) {
        view->m_backend = offscreen ? kBackendOffscreen : kBackendWindow;
        int w = 0;
        int h = 0;
        SDL_GetWindowSize(view->m_window, &w, &h);
        view->CCEGLViewProtocol::setFrameSize(static_cast<float>(w), static_cast<float>(h));
    } else {
        view->m_backend = kBackendHeadless;
        const bool sized = g_forceHeadless && g_headlessWidth > 0 && g_headlessHeight > 0;
        view->CCEGLViewProtocol::setFrameSize(sized ? g_headlessWidth : kDefaultWidth,
                                              sized ? g_headlessHeight : kDefaultHeight);
    }
    return view;
}

void CCEGLView::purgeSharedOpenGLView() {
    CCEGLView* view = g_sharedView;
    g_sharedView = nullptr;
    // A headless request was for this view; the next one follows the environment again.
    g_forceHeadless = false;
    if (view && CCDirector::sharedDirector()->getOpenGLView() == view)
        CCDirector::sharedDirector()->setOpenGLView(nullptr);
    delete view;
}

CCEGLView::~CCEGLView() {
    destroyWindow();
}

bool CCEGLView::createWindow(bool offscreen) {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            CCLOG("video init failed: %s (running headless)", SDL_GetError());
            return false;
        }
        m_ownsVideo = true;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    Uint32 flags = SDL_WINDOW_OPENGL;
    flags |= offscreen ? SDL_WINDOW_HIDDEN : SDL_WINDOW_SHOWN;
    m_window = SDL_CreateWindow(m_viewName.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                kDefaultWidth, kDefaultHeight, flags);
    if (!m_window) {
        CCLOG("window creation failed: %s (running headless)", SDL_GetError());
        destroyWindow();
        return false;
    }
    m_context = SDL_GL_CreateContext(m_window);
    if (!m_context || SDL_GL_MakeCurrent(m_window, static_cast<SDL_GLContext>(m_context)) != 0 ||
        !ccGLLoadEntryPoints()) {
        CCLOG("no usable GL context: %s (running headless)", SDL_GetError());
        destroyWindow();
        return false;
    }
    // Vsync when the driver offers it; the application loop paces frames either way.
    SDL_GL_SetSwapInterval(1);
    m_glReady = true;
    ccGLSetContextReady(true);
    ccGLInvalidateStateCache();
    CCShaderCache::sharedShaderCache()->reloadDefaultShaders();
    glDisable(GL_DEPTH_TEST);
    return true;
}

void CCEGLView::destroyWindow() {
    if (m_glReady) {
        ccGLSetContextReady(false);
        m_glReady = false;
    }
    if (m_context) {
        ccPinGLDriverModules();
        SDL_GL_DeleteContext(static_cast<SDL_GLContext>(m_context));
        m_context = nullptr;
    }
    if (m_window) {
        SDL_DestroyWindow(m_window);
        m_window = nullptr;
    }
    if (m_ownsVideo) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        m_ownsVideo = false;
    }
}

void CCEGLView::beginFrame() {
    // Quads left from drawing outside a frame count there, not in this frame.
    ccDrawFlush();
    g_uNumberOfDraws = 0;
    if (!m_glReady)
        return;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    // The whole frame is cleared, bars included; the scene then draws into the view port.
    glDisable(GL_SCISSOR_TEST);
    glViewport(0, 0, toPixels(m_frameSize.width), toPixels(m_frameSize.height));
    glClearColor(0.f, 0.f, 0.f, 1.f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glViewport(toPixels(m_viewPortRect.origin.x), toPixels(m_viewPortRect.origin.y),
               toPixels(m_viewPortRect.size.width), toPixels(m_viewPortRect.size.height));
    // Player code may have changed blending with raw GL calls during the last frame.
    ccGLBlendResetToCache();
}

void CCEGLView::swapBuffers() {
    ccDrawFlush();
    if (!m_capturePath.empty()) {
        const std::string path = m_capturePath;
        m_capturePath.clear();
        if (m_glReady && !ccSaveScreenshot(path))
            CCLOG("could not save the frame to %s", path.c_str());
    }
    if (m_glReady && m_window)
        SDL_GL_SwapWindow(m_window);
    // The offscreen surface's swap does nothing, so the frame is waited on here as a window's swap
    // waits on it. Unwaited, Mesa queues frame after frame (up to 64), and each queued frame holds
    // the textures it drew until Mesa reuses that frame's slot: a released picture's storage would
    // stay long after it was let go of.
    if (m_glReady && m_backend == kBackendOffscreen)
        glFinish();
}

void CCEGLView::end() {
    m_shouldClose = true;
}

void CCEGLView::setFrameSize(float width, float height) {
    if (!std::isfinite(width) || !std::isfinite(height) || width < 1.f || height < 1.f || width > 16384.f ||
        height > 16384.f)
        return;
    if (m_window)
        SDL_SetWindowSize(m_window, toPixels(width), toPixels(height));
    CCEGLViewProtocol::setFrameSize(width, height);
}

void CCEGLView::setViewName(const char* viewName) {
    CCEGLViewProtocol::setViewName(viewName);
    if (m_window)
        SDL_SetWindowTitle(m_window, getViewName());
}

void CCEGLView::setViewPortInPoints(float x, float y, float w, float h) {
    if (!m_glReady)
        return;
    ccDrawFlush();
    glViewport(toPixels(x * m_scaleX + m_viewPortRect.origin.x),
               toPixels(y * m_scaleY + m_viewPortRect.origin.y), toPixels(w * m_scaleX),
               toPixels(h * m_scaleY));
}

void CCEGLView::setScissorInPoints(float x, float y, float w, float h) {
    if (!m_glReady)
        return;
    ccDrawFlush();
    glScissor(toPixels(x * m_scaleX + m_viewPortRect.origin.x),
              toPixels(y * m_scaleY + m_viewPortRect.origin.y), toPixels(w * m_scaleX),
              toPixels(h * m_scaleY));
}

uintptr_t CCEGLView::getHWnd() const {
    if (!m_window)
        return 0;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(m_window, &info))
        return 0;
#if defined(SDL_VIDEO_DRIVER_X11)
    if (info.subsystem == SDL_SYSWM_X11)
        return static_cast<uintptr_t>(info.info.x11.window);
#endif
    return 0;
}

bool CCEGLView::pollEvents() {
    if (m_backend != kBackendHeadless && SDL_WasInit(SDL_INIT_VIDEO)) {
        SDL_Event event;
        while (SDL_PollEvent(&event))
            handleEvent(event);
    }
    return !m_shouldClose;
}

void CCEGLView::handleEvent(const SDL_Event& event) {
    if (m_wndProc && m_translator) {
        unsigned int msg = 0;
        uintptr_t wParam = 0;
        intptr_t lParam = 0;
        if (m_translator(event, &msg, &wParam, &lParam)) {
            bool handled = false;
            m_wndProc(msg, wParam, lParam, &handled);
            if (handled)
                return;
        }
    }
    switch (event.type) {
    case SDL_QUIT:
        m_shouldClose = true;
        break;
    case SDL_WINDOWEVENT:
        if (m_window && event.window.windowID != SDL_GetWindowID(m_window))
            break;
        switch (event.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
            m_shouldClose = true;
            break;
        case SDL_WINDOWEVENT_MINIMIZED:
            if (!m_minimised) {
                m_minimised = true;
                if (CCApplication* app = CCApplication::sharedApplication())
                    app->applicationDidEnterBackground();
            }
            break;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED:
            if (m_minimised) {
                m_minimised = false;
                if (CCApplication* app = CCApplication::sharedApplication())
                    app->applicationWillEnterForeground();
            }
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            CCEGLViewProtocol::setFrameSize(static_cast<float>(event.window.data1),
                                            static_cast<float>(event.window.data2));
            break;
        default:
            break;
        }
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    case SDL_MOUSEMOTION:
        handleMouse(event);
        break;
    case SDL_KEYDOWN: {
        if (event.key.repeat)
            break;
        const bool shift = (event.key.keysym.mod & KMOD_SHIFT) != 0;
        CCKeypadDispatcher* keypad = CCDirector::sharedDirector()->getKeypadDispatcher();
        if (event.key.keysym.scancode == SDL_SCANCODE_AC_BACK || (shift && event.key.keysym.sym == SDLK_F1))
            keypad->dispatchKeypadMSG(kTypeBackClicked);
        else if (shift && event.key.keysym.sym == SDLK_F2)
            keypad->dispatchKeypadMSG(kTypeMenuClicked);
        break;
    }
    default:
        break;
    }
}

void CCEGLView::handleMouse(const SDL_Event& event) {
    int id = 0;
    float x = 0.f;
    float y = 0.f;
    if (event.type == SDL_MOUSEMOTION) {
        if (!m_mouseDown)
            return;
        x = static_cast<float>(event.motion.x);
        y = static_cast<float>(event.motion.y);
        handleTouchesMove(1, &id, &x, &y);
        return;
    }
    if (event.button.button != SDL_BUTTON_LEFT)
        return;
    x = static_cast<float>(event.button.x);
    y = static_cast<float>(event.button.y);
    if (event.type == SDL_MOUSEBUTTONDOWN) {
        if (m_mouseDown)
            return;
        m_mouseDown = true;
        handleTouchesBegin(1, &id, &x, &y);
    } else if (m_mouseDown) {
        m_mouseDown = false;
        handleTouchesEnd(1, &id, &x, &y);
    }
}

NS_CC_END
