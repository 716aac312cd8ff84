// The view's size arithmetic (frame, design resolution, policy, view port) and the hooks a real
// window overrides. A plain instance is a working headless view: it never renders.
#pragma once

#include <string>

#include "base/CCGeometry.h"

NS_CC_BEGIN

class CCTouch;

enum ResolutionPolicy {
    kResolutionExactFit = 0,    // both axes stretched
    kResolutionNoBorder = 1,    // larger scale, the overflow is cropped
    kResolutionShowAll = 2,     // smaller scale, letterboxed
    kResolutionFixedHeight = 3, // height fits, design width follows the frame
    kResolutionFixedWidth = 4,  // width fits, design height follows the frame
    kResolutionUnKnown = 5,     // no policy: the design resolution is left as it is
};

class CCEGLViewProtocol {
public:
    // Touch ids beyond this many live touches are ignored.
    static constexpr int kMaxTouches = 10;

    CCEGLViewProtocol();
    virtual ~CCEGLViewProtocol();

    CCEGLViewProtocol(const CCEGLViewProtocol&) = delete;
    CCEGLViewProtocol& operator=(const CCEGLViewProtocol&) = delete;

    // --- Hooks of a real window ---
    // Whether the director should visit the scene graph this frame (false: a headless view).
    virtual bool renderingEnabled() const { return m_renderingEnabled; }
    void setRenderingEnabled(bool enabled) { m_renderingEnabled = enabled; }
    virtual bool isOpenGLReady() { return false; }
    // Called before the scene is visited: bind the frame buffer, set the view port, clear.
    virtual void beginFrame() {}
    // Called after the scene was visited.
    virtual void swapBuffers() {}
    // Closes the window; the application loop ends.
    virtual void end() {}
    virtual void setIMEKeyboardState(bool open) { (void)open; }

    // --- Sizes ---
    // The window's client size in pixels; re-applies the current policy. Invalid sizes are ignored.
    virtual void setFrameSize(float width, float height);
    virtual const CCSize& getFrameSize() const { return m_frameSize; }
    virtual void setFrameZoomFactor(float zoomFactor);
    float getFrameZoomFactor() const { return m_frameZoomFactor; }

    // kResolutionUnKnown and invalid sizes leave everything unchanged.
    virtual void setDesignResolutionSize(float width, float height, ResolutionPolicy policy);
    // The design size after the policy (fixed height/width widen one side); the director's window size.
    const CCSize& getDesignResolutionSize() const { return m_designResolutionSize; }
    ResolutionPolicy getResolutionPolicy() const { return m_resolutionPolicy; }
    CCSize getVisibleSize() const;
    CCPoint getVisibleOrigin() const;
    float getScaleX() const { return m_scaleX; }
    float getScaleY() const { return m_scaleY; }
    // The rectangle of the frame, in pixels, that the design area maps onto (centred).
    const CCRect& getViewPortRect() const { return m_viewPortRect; }

    // Real views forward these to GL; design units are converted by the scale and view-port origin.
    virtual void setViewPortInPoints(float x, float y, float w, float h) {
        (void)x, (void)y, (void)w, (void)h;
    }
    virtual void setScissorInPoints(float x, float y, float w, float h) {
        (void)x, (void)y, (void)w, (void)h;
    }

    virtual void setViewName(const char* viewName);
    const char* getViewName() const { return m_viewName.c_str(); }

    // Window pixels (y down) to design units (y down): (pixel - view-port origin) / scale.
    CCPoint convertFramePointToView(float x, float y) const;

    // --- Touch input from the window, in window pixels (y down). ---
    // The touches go to the director's touch dispatcher.
    virtual void handleTouchesBegin(int num, const int ids[], const float xs[], const float ys[]);
    virtual void handleTouchesMove(int num, const int ids[], const float xs[], const float ys[]);
    virtual void handleTouchesEnd(int num, const int ids[], const float xs[], const float ys[]);
    virtual void handleTouchesCancel(int num, const int ids[], const float xs[], const float ys[]);

protected:
    void applyResolutionPolicy();
    void handleTouchesEndOrCancel(int phase, int num, const int ids[], const float xs[], const float ys[]);
    // Moves the live touch with this id to the window point; its slot, or -1 when none is down.
    int moveLiveTouch(int id, float x, float y);

    CCSize m_frameSize;
    // As requested; the policy is re-applied from it when the frame changes.
    CCSize m_requestedDesignSize;
    CCSize m_designResolutionSize;
    CCRect m_viewPortRect;
    float m_scaleX;
    float m_scaleY;
    float m_frameZoomFactor;
    ResolutionPolicy m_resolutionPolicy;
    std::string m_viewName;
    bool m_renderingEnabled;

    int m_touchIds[kMaxTouches];
    CCTouch* m_touches[kMaxTouches];
};

NS_CC_END
