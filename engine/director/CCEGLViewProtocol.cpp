#include "director/CCEGLViewProtocol.h"

#include <algorithm>
#include <cmath>

#include "director/CCDirector.h"
#include "input/CCTouch.h"
#include "input/CCTouchDispatcher.h"

NS_CC_BEGIN

namespace {

bool validSize(float width, float height) {
    return std::isfinite(width) && std::isfinite(height) && width > 0.0f && height > 0.0f;
}

} // namespace

CCEGLViewProtocol::CCEGLViewProtocol()
    : m_scaleX(1.0f), m_scaleY(1.0f), m_frameZoomFactor(1.0f), m_resolutionPolicy(kResolutionUnKnown),
      m_renderingEnabled(false) {
    for (int i = 0; i < kMaxTouches; ++i) {
        m_touchIds[i] = 0;
        m_touches[i] = nullptr;
    }
}

CCEGLViewProtocol::~CCEGLViewProtocol() {
    for (CCTouch*& touch : m_touches) {
        CC_SAFE_RELEASE_NULL(touch);
    }
}

void CCEGLViewProtocol::setFrameSize(float width, float height) {
    if (!validSize(width, height)) {
        return;
    }
    m_frameSize = CCSize(width, height);
    if (m_resolutionPolicy == kResolutionUnKnown) {
        // No policy yet: the design area is the frame, one unit per pixel.
        m_designResolutionSize = m_frameSize;
        m_scaleX = m_scaleY = 1.0f;
        m_viewPortRect = CCRect(0.0f, 0.0f, width, height);
    } else {
        applyResolutionPolicy();
    }
}

void CCEGLViewProtocol::setFrameZoomFactor(float zoomFactor) {
    if (std::isfinite(zoomFactor) && zoomFactor > 0.0f) {
        m_frameZoomFactor = zoomFactor;
    }
}

void CCEGLViewProtocol::setDesignResolutionSize(float width, float height, ResolutionPolicy policy) {
    if (policy == kResolutionUnKnown || policy < kResolutionExactFit || policy > kResolutionUnKnown ||
        !validSize(width, height)) {
        return;
    }
    m_requestedDesignSize = CCSize(width, height);
    m_resolutionPolicy = policy;
    applyResolutionPolicy();
}

void CCEGLViewProtocol::applyResolutionPolicy() {
    CCSize design = m_requestedDesignSize;
    if (!validSize(m_frameSize.width, m_frameSize.height)) {
        // No window yet: keep the design size and map it one to one.
        m_designResolutionSize = design;
        m_scaleX = m_scaleY = 1.0f;
        m_viewPortRect = CCRect(0.0f, 0.0f, design.width, design.height);
        return;
    }
    float scaleX = m_frameSize.width / design.width;
    float scaleY = m_frameSize.height / design.height;
    switch (m_resolutionPolicy) {
    case kResolutionNoBorder:
        scaleX = scaleY = std::max(scaleX, scaleY);
        break;
    case kResolutionShowAll:
        scaleX = scaleY = std::min(scaleX, scaleY);
        break;
    case kResolutionFixedHeight:
        scaleX = scaleY;
        design.width = std::ceil(m_frameSize.width / scaleX);
        break;
    case kResolutionFixedWidth:
        scaleY = scaleX;
        design.height = std::ceil(m_frameSize.height / scaleY);
        break;
    default:
        break;
    }
    m_scaleX = scaleX;
    m_scaleY = scaleY;
    m_designResolutionSize = design;
    const float viewPortW = design.width * scaleX;
    const float viewPortH = design.height * scaleY;
    m_viewPortRect = CCRect((m_frameSize.width - viewPortW) / 2.0f, (m_frameSize.height - viewPortH) / 2.0f,
                            viewPortW, viewPortH);
}

CCSize CCEGLViewProtocol::getVisibleSize() const {
    if (m_resolutionPolicy == kResolutionNoBorder) {
        return CCSize(m_frameSize.width / m_scaleX, m_frameSize.height / m_scaleY);
    }
    return m_designResolutionSize;
}

CCPoint CCEGLViewProtocol::getVisibleOrigin() const {
    if (m_resolutionPolicy == kResolutionNoBorder) {
        const CCSize visible = getVisibleSize();
        return CCPoint((m_designResolutionSize.width - visible.width) / 2.0f,
                       (m_designResolutionSize.height - visible.height) / 2.0f);
    }
    return CCPointZero;
}

void CCEGLViewProtocol::setViewName(const char* viewName) {
    m_viewName = viewName ? viewName : "";
}

CCPoint CCEGLViewProtocol::convertFramePointToView(float x, float y) const {
    return CCPoint((x - m_viewPortRect.origin.x) / m_scaleX, (y - m_viewPortRect.origin.y) / m_scaleY);
}

int CCEGLViewProtocol::moveLiveTouch(int id, float x, float y) {
    for (int s = 0; s < kMaxTouches; ++s) {
        if (m_touches[s] && m_touchIds[s] == id) {
            const CCPoint point = convertFramePointToView(x, y);
            m_touches[s]->setTouchInfo(id, point.x, point.y);
            return s;
        }
    }
    return -1;
}

void CCEGLViewProtocol::handleTouchesBegin(int num, const int ids[], const float xs[], const float ys[]) {
    if (num <= 0 || !ids || !xs || !ys) {
        return;
    }
    CCSet* set = new CCSet();
    for (int i = 0; i < num; ++i) {
        int slot = -1;
        for (int s = 0; s < kMaxTouches; ++s) {
            if (m_touches[s] && m_touchIds[s] == ids[i]) {
                slot = -2; // already down: a duplicate begin is ignored
                break;
            }
            if (!m_touches[s] && slot == -1) {
                slot = s;
            }
        }
        if (slot < 0) {
            continue;
        }
        CCTouch* touch = new CCTouch();
        const CCPoint point = convertFramePointToView(xs[i], ys[i]);
        touch->setTouchInfo(ids[i], point.x, point.y);
        m_touches[slot] = touch;
        m_touchIds[slot] = ids[i];
        set->addObject(touch);
    }
    if (set->count() > 0) {
        CCDirector::sharedDirector()->getTouchDispatcher()->touchesBegan(set, nullptr);
    }
    set->release();
}

void CCEGLViewProtocol::handleTouchesMove(int num, const int ids[], const float xs[], const float ys[]) {
    if (num <= 0 || !ids || !xs || !ys) {
        return;
    }
    CCSet* set = new CCSet();
    for (int i = 0; i < num; ++i) {
        const int s = moveLiveTouch(ids[i], xs[i], ys[i]);
        if (s >= 0) {
            set->addObject(m_touches[s]);
        }
    }
    if (set->count() > 0) {
        CCDirector::sharedDirector()->getTouchDispatcher()->touchesMoved(set, nullptr);
    }
    set->release();
}

void CCEGLViewProtocol::handleTouchesEndOrCancel(int phase, int num, const int ids[], const float xs[],
                                                 const float ys[]) {
    if (num <= 0 || !ids || !xs || !ys) {
        return;
    }
    CCSet* set = new CCSet();
    for (int i = 0; i < num; ++i) {
        const int s = moveLiveTouch(ids[i], xs[i], ys[i]);
        if (s >= 0) {
            set->addObject(m_touches[s]); // the set keeps it alive through the dispatch
            m_touches[s]->release();
            m_touches[s] = nullptr;
        }
    }
    if (set->count() > 0) {
        CCDirector::sharedDirector()->getTouchDispatcher()->touches(set, nullptr,
                                                                    static_cast<unsigned int>(phase));
    }
    set->release();
}

void CCEGLViewProtocol::handleTouchesEnd(int num, const int ids[], const float xs[], const float ys[]) {
    handleTouchesEndOrCancel(CCTOUCHENDED, num, ids, xs, ys);
}

void CCEGLViewProtocol::handleTouchesCancel(int num, const int ids[], const float xs[], const float ys[]) {
    handleTouchesEndOrCancel(CCTOUCHCANCELLED, num, ids, xs, ys);
}

NS_CC_END
