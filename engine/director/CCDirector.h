// Owns the running scene and drives one frame at a time:
//   dt (fixed in test mode) -> scheduler update (actions first) -> pending scene switch ->
//   visit the running scene when the view renders -> swap -> drain the autorelease pool.
// The application loop pumps window events, then calls mainLoop() once per frame.
#pragma once

#include <chrono>

#include "base/CCGeometry.h"
#include "base/CCObject.h"

NS_CC_BEGIN

class CCScene;
class CCScheduler;
class CCActionManager;
class CCTouchDispatcher;
class CCKeypadDispatcher;
class CCAccelerometer;
class CCEGLViewProtocol;

class CCDirector : public CCObject {
public:
    static CCDirector* sharedDirector();

    CCDirector();
    ~CCDirector() override;

    // --- View ---
    // Not owned. Without a view the director behaves as with a plain headless view of
    // kDefaultWinSize that never renders.
    void setOpenGLView(CCEGLViewProtocol* pView);
    CCEGLViewProtocol* getOpenGLView() const { return m_pView; }

    // The design size after the policy.
    CCSize getWinSize() const;
    CCSize getWinSizeInPixels() const;
    CCSize getVisibleSize() const;
    CCPoint getVisibleOrigin() const;
    // Offset of the scene's origin inside the window; (0, 0) with the standard policies.
    CCPoint contentOffset() const { return m_contentOffset; }
    // View coordinates (design units, y down) to scene coordinates (y up) and back.
    CCPoint convertToGL(const CCPoint& uiPoint) const;
    CCPoint convertToUI(const CCPoint& glPoint) const;

    // --- Scenes ---
    // The scene becomes the running one at the next frame's switch point.
    void runWithScene(CCScene* pScene);
    // Deferred to the next frame, after that frame's scheduler update: the old scene then gets
    // onExit, cleanup and release, the new one onEnter. Also safe from inside draw().
    void replaceScene(CCScene* pScene);
    CCScene* getRunningScene() const { return m_pRunningScene; }
    CCScene* getNextScene() const { return m_pNextScene; }

    // --- Frames ---
    // One frame: finished sound effects report (their callbacks run on this thread), the
    // scheduler updates, the scene draws. A stopped animation only drains the autorelease pool.
    void mainLoop();
    // Runs n frames back to back (no event pumping): for headless tests and tools.
    void runFrames(unsigned int frames);
    void startAnimation();
    void stopAnimation();
    bool isAnimating() const { return m_bAnimating; }
    // Pauses the scheduler (and so actions); frames are still drawn.
    void pause();
    void resume();
    bool isPaused() const { return m_bPaused; }

    // The next frame gets dt = 0 (the first frame always does).
    void setNextDeltaTimeZero(bool bNextDeltaTimeZero) { m_bNextDeltaTimeZero = bNextDeltaTimeZero; }
    // Test mode: every frame advances by dt instead of the wall clock; 0 or less turns it off.
    void setFixedDeltaTime(float dt);
    float getFixedDeltaTime() const { return m_fFixedDeltaTime; }
    float getDeltaTime() const { return m_fDeltaTime; }
    unsigned int getTotalFrames() const { return m_uTotalFrames; }
    // Target seconds per drawn frame; the application loop paces itself by it.
    void setAnimationInterval(double dValue);
    double getAnimationInterval() const { return m_dAnimationInterval; }

    // Loads the 2D projection of the window size into the projection stack and an identity
    // model-view; called before every visit.
    void setProjection2D();

    // Ends the running scene, drops pending ones, unschedules everything, removes every input
    // delegate, forgets the view, drains every autorelease pool and releases the cached font
    // descriptions. The director stays usable.
    void purgeDirector();

    // --- Subsystems ---
    CCScheduler* getScheduler() const { return m_pScheduler; }
    CCActionManager* getActionManager() const { return m_pActionManager; }
    CCTouchDispatcher* getTouchDispatcher() const { return m_pTouchDispatcher; }
    CCKeypadDispatcher* getKeypadDispatcher() const { return m_pKeypadDispatcher; }
    CCAccelerometer* getAccelerometer() const { return m_pAccelerometer; }

    static const CCSize kDefaultWinSize;

private:
    void drawScene();
    void calculateDeltaTime();
    void setNextScene();
    CCEGLViewProtocol* activeView() const;

    CCEGLViewProtocol* m_pView = nullptr;
    CCEGLViewProtocol* m_pHeadlessView = nullptr; // used while no view is set

    CCScene* m_pRunningScene = nullptr; // retained
    CCScene* m_pNextScene = nullptr;    // retained

    CCScheduler* m_pScheduler = nullptr;
    CCActionManager* m_pActionManager = nullptr;
    CCTouchDispatcher* m_pTouchDispatcher = nullptr;
    CCKeypadDispatcher* m_pKeypadDispatcher = nullptr;
    CCAccelerometer* m_pAccelerometer = nullptr;

    CCPoint m_contentOffset;
    float m_fDeltaTime = 0.0f;
    float m_fFixedDeltaTime = 0.0f;
    double m_dAnimationInterval = 1.0 / 60.0;
    unsigned int m_uTotalFrames = 0;
    bool m_bNextDeltaTimeZero = true;
    bool m_bAnimating = true;
    bool m_bPaused = false;
    std::chrono::steady_clock::time_point m_lastUpdate;
};

NS_CC_END
