#include "director/CCDirector.h"

#include <cmath>

#include "actions/CCActionManager.h"
#include "audio/AudioEngine.h"
#include "base/CCAutoreleasePool.h"
#include "director/CCEGLViewProtocol.h"
#include "director/CCScheduler.h"
#include "input/CCAccelerometer.h"
#include "input/CCKeypadDispatcher.h"
#include "input/CCTouchDispatcher.h"
#include "kazmath/GL/matrix.h"
#include "label/CCBMFontConfiguration.h"
#include "nodes/CCScene.h"
#include "renderer/CCQuadRenderer.h"
#include "textures/CCPictureBudget.h"
#include "textures/CCTextureCache.h"

NS_CC_BEGIN

const CCSize CCDirector::kDefaultWinSize(1136.0f, 640.0f);

CCDirector* CCDirector::sharedDirector() {
    // Never destroyed: engine objects may still release into it during static destruction.
    static CCDirector* instance = new CCDirector();
    return instance;
}

CCDirector::CCDirector() {
    m_pScheduler = new CCScheduler();
    m_pActionManager = new CCActionManager();
    m_pScheduler->scheduleUpdateForTarget(m_pActionManager, kCCPrioritySystem, false);
    m_pTouchDispatcher = new CCTouchDispatcher();
    m_pKeypadDispatcher = new CCKeypadDispatcher();
    m_pAccelerometer = new CCAccelerometer();
    m_pHeadlessView = new CCEGLViewProtocol();
    m_pHeadlessView->setFrameSize(kDefaultWinSize.width, kDefaultWinSize.height);
    m_lastUpdate = std::chrono::steady_clock::now();
}

CCDirector::~CCDirector() {
    purgeDirector();
    m_pScheduler->unscheduleAllWithMinPriority(kCCPrioritySystem);
    CC_SAFE_RELEASE(m_pActionManager);
    CC_SAFE_RELEASE(m_pScheduler);
    CC_SAFE_RELEASE(m_pTouchDispatcher);
    CC_SAFE_RELEASE(m_pKeypadDispatcher);
    delete m_pAccelerometer;
    delete m_pHeadlessView;
}

CCEGLViewProtocol* CCDirector::activeView() const {
    return m_pView ? m_pView : m_pHeadlessView;
}

void CCDirector::setOpenGLView(CCEGLViewProtocol* pView) {
    m_pView = pView;
}

CCSize CCDirector::getWinSize() const {
    return activeView()->getDesignResolutionSize();
}

CCSize CCDirector::getWinSizeInPixels() const {
    const CCEGLViewProtocol* view = activeView();
    const CCSize design = view->getDesignResolutionSize();
    return CCSize(design.width * view->getScaleX(), design.height * view->getScaleY());
}

CCSize CCDirector::getVisibleSize() const {
    return activeView()->getVisibleSize();
}

CCPoint CCDirector::getVisibleOrigin() const {
    return activeView()->getVisibleOrigin();
}

CCPoint CCDirector::convertToGL(const CCPoint& uiPoint) const {
    return CCPoint(uiPoint.x, getWinSize().height - uiPoint.y);
}

CCPoint CCDirector::convertToUI(const CCPoint& glPoint) const {
    return CCPoint(glPoint.x, getWinSize().height - glPoint.y);
}

void CCDirector::runWithScene(CCScene* pScene) {
    replaceScene(pScene);
    startAnimation();
}

void CCDirector::replaceScene(CCScene* pScene) {
    if (!pScene) {
        return;
    }
    if (pScene == m_pNextScene) {
        return;
    }
    if (m_pNextScene != nullptr) {
        // Dropped before it ran: it never gets the clean-up a switch gives, and its scheduled
        // nodes would stay in the scheduler (which holds them) for good.
        m_pNextScene->cleanup();
        m_pNextScene->release();
        m_pNextScene = nullptr;
    }
    // Replacing the running scene with itself would only tear it down: cancel instead.
    if (pScene == m_pRunningScene) {
        return;
    }
    pScene->retain();
    m_pNextScene = pScene;
}

void CCDirector::setNextScene() {
    CCScene* next = m_pNextScene;
    m_pNextScene = nullptr;
    CCScene* old = m_pRunningScene;
    m_pRunningScene = next;
    if (old) {
        old->onExit();
        old->cleanup();
        old->release();
    }
    // A game that shows many pictures over its screens would fill the picture budget with some
    // no screen uses any more: once they hold half of it, those go with the screen that left.
    if (ccPictureBytesHeld() > ccPictureBudget() / 2)
        CCTextureCache::sharedTextureCache()->removeUnusedTextures();
    if (next) {
        next->onEnter();
        next->onEnterTransitionDidFinish();
    }
}

void CCDirector::startAnimation() {
    if (!m_bAnimating) {
        m_bAnimating = true;
        m_bNextDeltaTimeZero = true;
    }
}

void CCDirector::stopAnimation() {
    m_bAnimating = false;
}

void CCDirector::pause() {
    m_bPaused = true;
}

void CCDirector::resume() {
    if (m_bPaused) {
        m_bPaused = false;
        m_bNextDeltaTimeZero = true;
    }
}

void CCDirector::setFixedDeltaTime(float dt) {
    m_fFixedDeltaTime = (std::isfinite(dt) && dt > 0.0f) ? dt : 0.0f;
}

void CCDirector::setAnimationInterval(double dValue) {
    if (std::isfinite(dValue) && dValue > 0.0) {
        m_dAnimationInterval = dValue;
    }
}

void CCDirector::calculateDeltaTime() {
    const auto now = std::chrono::steady_clock::now();
    if (m_fFixedDeltaTime > 0.0f) {
        m_fDeltaTime = m_fFixedDeltaTime;
        m_bNextDeltaTimeZero = false;
    } else if (m_bNextDeltaTimeZero) {
        m_fDeltaTime = 0.0f;
        m_bNextDeltaTimeZero = false;
    } else {
        const float seconds = std::chrono::duration<float>(now - m_lastUpdate).count();
        m_fDeltaTime = (std::isfinite(seconds) && seconds > 0.0f) ? seconds : 0.0f;
    }
    m_lastUpdate = now;
}

void CCDirector::setProjection2D() {
    const CCSize size = getWinSize();
    kmMat4 projection;
    kmMat4OrthographicProjection(&projection, 0.0f, size.width, 0.0f, size.height, -1024.0f, 1024.0f);
    kmGLMatrixMode(KM_GL_PROJECTION);
    kmGLLoadMatrix(&projection);
    kmGLMatrixMode(KM_GL_MODELVIEW);
    kmGLLoadIdentity();
}

void CCDirector::drawScene() {
    calculateDeltaTime();
    // Effects that ended on the audio thread report here, before the frame's updates see them.
    experimental::AudioEngine::dispatchPendingCallbacks();
    if (!m_bPaused) {
        m_pScheduler->update(m_fDeltaTime);
    }
    if (m_pNextScene) {
        setNextScene();
    }
    CCEGLViewProtocol* view = activeView();
    if (view->renderingEnabled()) {
        view->beginFrame();
        setProjection2D();
        if (m_pRunningScene) {
            // A draw that calls replaceScene only sets the pending scene; this one lives on until the switch.
            m_pRunningScene->visit();
        }
        // The frame ends: batched quads go out before the swap.
        ccDrawFlush();
        view->swapBuffers();
    }
    ++m_uTotalFrames;
}

void CCDirector::mainLoop() {
    if (m_bAnimating) {
        drawScene();
    }
    CCPoolManager::sharedPoolManager()->pop();
}

void CCDirector::runFrames(unsigned int frames) {
    for (unsigned int i = 0; i < frames; ++i) {
        mainLoop();
    }
}

void CCDirector::purgeDirector() {
    CC_SAFE_RELEASE_NULL(m_pNextScene);
    if (CCScene* running = m_pRunningScene) {
        m_pRunningScene = nullptr;
        running->onExit();
        running->cleanup();
        running->release();
    }
    m_pScheduler->unscheduleAll();
    m_pActionManager->removeAllActions();
    m_pTouchDispatcher->removeAllDelegates();
    m_pKeypadDispatcher->removeAllDelegates();
    m_pAccelerometer->setDelegate(nullptr);
    m_pView = nullptr;
    m_fFixedDeltaTime = 0.0f;
    m_fDeltaTime = 0.0f;
    m_uTotalFrames = 0;
    m_bNextDeltaTimeZero = true;
    m_bAnimating = true;
    m_bPaused = false;
    CCPoolManager::sharedPoolManager()->finalize();
    // Labels hold their own reference; the cache's goes with the director's scenes.
    FNTConfigRemoveCache();
}

NS_CC_END
