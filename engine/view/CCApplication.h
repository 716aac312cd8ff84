// The run loop. One application object (the game's delegate, usually a static) exists per
// process; run() calls applicationDidFinishLaunching, then draws frames until the window
// closes. Each frame: pump window events, then the director's frame (dt, scheduler, scene
// switch, draw, swap, autorelease pool), then sleep until the frame's deadline (CCFramePacer).
#pragma once

#include <cstdint>
#include <functional>
#include <utility>

#include "view/CCApplicationProtocol.h"

NS_CC_BEGIN

class CCApplication : public CCApplicationProtocol {
public:
    CCApplication();
    ~CCApplication() override;

    // The application constructed last (null when none exists).
    static CCApplication* sharedApplication();

    // Returns the exit value (0; also when launching fails).
    virtual int run();
    // Launches on the first call, then runs n frames without pacing (tests). Returns the
    // number of frames run, which is smaller when the window closed.
    int runFrames(int frames);

    // Called at the start of every frame, right after the window's events, also while the director
    // does not animate (a window in the background): watchers that must be able to end the loop.
    void setFrameHook(std::function<void()> hook) { m_frameHook = std::move(hook); }

    void setAnimationInterval(double interval) override;
    double getAnimationInterval() const { return m_animationInterval; }
    TargetPlatform getTargetPlatform() override { return kTargetLinux; }
    ccLanguageType getCurrentLanguage() override;

private:
    bool launch();
    // One frame; false when the window asked to close.
    bool runOneFrame();

    double m_animationInterval = 1.0 / 60.0;
    bool m_launched = false;
    std::function<void()> m_frameHook;
};

NS_CC_END
