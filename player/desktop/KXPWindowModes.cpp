#include "player/desktop/KXPWindowModes.h"

#include "cocos2d.h"
#include "model/KXDebugLog.h"
#include "model/classes/KXModelGeneralSettings.h"
#include "player/services/KXPWindowRequests.h"
#include "player/store/KXPSettingsController.h"

using namespace cocos2d;

namespace {

// What reaches the window hook: the two requests keep their message numbers; SDL window events
// get numbers of their own.
enum WindowMessage : unsigned int {
    kMessageClose = kWindowRequestClose,
    kMessageFullscreen = kWindowRequestFullscreen,
    kMessageResized = 0x8001, // wParam: width, lParam: height
    kMessageMinimized,
    kMessageMaximized,
    kMessageRestored,
};

constexpr float kDesignLong = 1136.0f;
constexpr float kDesignShort = 640.0f;

int orientation() {
    return KXModelGeneralSettings::shared()->orientation();
}

} // namespace

KXPWindowModes* KXPWindowModes::shared() {
    static KXPWindowModes* instance = new KXPWindowModes();
    return instance;
}

KXPWindowModes::Rect KXPWindowModes::displayBounds() const {
    if (m_displayBounds) {
        return m_displayBounds();
    }
    Rect rect;
    CCEGLView* view = CCEGLView::sharedOpenGLView();
    SDL_Rect bounds;
    SDL_Window* window = view->getSDLWindow();
    if (window != nullptr && SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(window), &bounds) == 0) {
        rect.x = bounds.x;
        rect.y = bounds.y;
        rect.width = bounds.w;
        rect.height = bounds.h;
    } else {
        rect.width = static_cast<int>(view->getFrameSize().width);
        rect.height = static_cast<int>(view->getFrameSize().height);
    }
    return rect;
}

KXPWindowModes::Rect KXPWindowModes::windowedFrame(const Rect& display, int orientation) {
    const int halfWidth = display.width / 2;
    const int halfHeight = display.height / 2;
    Rect frame;
    frame.x = display.width / 2 - halfWidth / 2 + display.x;
    frame.y = display.height / 2 - halfHeight / 2 + display.y;
    const bool landscape = orientation == KXModelGeneralSettings::OrientationLandscape;
    frame.width = landscape ? halfWidth : halfHeight;
    frame.height = landscape ? halfHeight : halfWidth;
    return frame;
}

void KXPWindowModes::setWindowMode(bool fullscreen, bool force) {
    if (!force && fullscreen == m_fullscreen) {
        return;
    }
    m_fullscreen = fullscreen;
    const Rect display = displayBounds();
    CCEGLView* view = CCEGLView::sharedOpenGLView();
    SDL_Window* window = view->getSDLWindow();
    if (fullscreen) {
        if (window != nullptr) {
            // Placed over the whole display first, as a borderless window: that is full screen
            // even where no window manager honours the request that follows.
            SDL_SetWindowBordered(window, SDL_FALSE);
            SDL_SetWindowResizable(window, SDL_FALSE);
            SDL_SetWindowPosition(window, display.x, display.y);
            SDL_SetWindowSize(window, display.width, display.height);
            if (SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
                debugLog("[KXPWindowModes] full screen failed: %s", SDL_GetError());
            }
        }
        view->CCEGLViewProtocol::setFrameSize(static_cast<float>(display.width),
                                              static_cast<float>(display.height));
    } else {
        const Rect frame = windowedFrame(display, orientation());
        if (window != nullptr) {
            SDL_SetWindowFullscreen(window, 0);
            SDL_SetWindowBordered(window, SDL_TRUE);
            SDL_SetWindowResizable(window, SDL_TRUE);
            SDL_SetWindowPosition(window, frame.x, frame.y);
        }
        view->setFrameSize(static_cast<float>(frame.width), static_cast<float>(frame.height));
    }
    view->setFrameZoomFactor(1.0f);
    if (!force) {
        applyDesignResolution();
    }
}

void KXPWindowModes::resizeView(int width, int height) {
    CCEGLView* view = CCEGLView::sharedOpenGLView();
    // The window has this size already; the view only follows it.
    view->CCEGLViewProtocol::setFrameSize(static_cast<float>(width), static_cast<float>(height));
    view->setFrameZoomFactor(1.0f);
    applyDesignResolution();
}

void KXPWindowModes::applyDesignResolution() {
    CCEGLView* view = CCEGLView::sharedOpenGLView();
    const bool landscape = orientation() == KXModelGeneralSettings::OrientationLandscape;
    view->setDesignResolutionSize(landscape ? kDesignLong : kDesignShort,
                                  landscape ? kDesignShort : kDesignLong, view->getResolutionPolicy());
}

void KXPWindowModes::install() {
    CCEGLView* view = CCEGLView::sharedOpenGLView();
    view->setMessageTranslator(&KXPWindowModes::translateEvent);
    view->setWndProc(&KXPWindowModes::windowProc);
}

bool KXPWindowModes::translateEvent(const SDL_Event& event, unsigned int* message, uintptr_t* wParam,
                                    intptr_t* lParam) {
    *wParam = 0;
    *lParam = 0;
    if (event.type == windowRequestEventType()) {
        if (event.user.code != kWindowRequestClose && event.user.code != kWindowRequestFullscreen) {
            return false;
        }
        *message = static_cast<unsigned int>(event.user.code);
        *wParam = event.user.data1 != nullptr ? 1 : 0;
        return true;
    }
    if (event.type != SDL_WINDOWEVENT) {
        return false;
    }
    SDL_Window* window = CCEGLView::sharedOpenGLView()->getSDLWindow();
    if (window != nullptr && event.window.windowID != SDL_GetWindowID(window)) {
        return false;
    }
    switch (event.window.event) {
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        *message = kMessageResized;
        *wParam = static_cast<uintptr_t>(event.window.data1 > 0 ? event.window.data1 : 0);
        *lParam = event.window.data2;
        return true;
    case SDL_WINDOWEVENT_MINIMIZED:
        *message = kMessageMinimized;
        return true;
    case SDL_WINDOWEVENT_MAXIMIZED:
        *message = kMessageMaximized;
        return true;
    case SDL_WINDOWEVENT_RESTORED:
        *message = kMessageRestored;
        return true;
    default:
        return false;
    }
}

int KXPWindowModes::windowProc(unsigned int message, uintptr_t wParam, intptr_t lParam, bool* handled) {
    shared()->handleMessage(message, wParam, lParam, handled);
    return 0;
}

void KXPWindowModes::handleMessage(unsigned int message, uintptr_t wParam, intptr_t lParam, bool* handled) {
    switch (message) {
    case kMessageFullscreen:
        KXPSettingsController::shared()->save();
        setWindowMode(wParam != 0, false);
        *handled = true;
        break;
    case kMessageClose:
        CCEGLView::sharedOpenGLView()->end();
        *handled = true;
        break;
    case kMessageResized:
        if (wParam > 0 && lParam > 0) {
            resizeView(static_cast<int>(wParam), static_cast<int>(lParam));
        }
        *handled = true;
        break;
    // The engine still sees these (the game goes to the background and comes back).
    case kMessageMinimized:
        // A window minimised while maximised comes back maximised.
        m_remaximizeOnRestore = m_maximized;
        break;
    case kMessageMaximized:
        m_maximized = true;
        break;
    case kMessageRestored:
        if (m_remaximizeOnRestore) {
            m_remaximizeOnRestore = false;
            if (SDL_Window* window = CCEGLView::sharedOpenGLView()->getSDLWindow()) {
                SDL_MaximizeWindow(window);
            }
        } else {
            m_maximized = false;
        }
        break;
    default:
        break;
    }
}
