#include "nodes/CCLayer.h"

#include "director/CCDirector.h"
#include "input/CCKeypadDispatcher.h"
#include "input/CCTouchDispatcher.h"

NS_CC_BEGIN

CCLayer::CCLayer()
    : m_bTouchEnabled(false), m_bAccelerometerEnabled(false), m_bKeypadEnabled(false),
      m_eTouchMode(kCCTouchesAllAtOnce), m_nTouchPriority(0) {
    m_bIgnoreAnchorPointForPosition = true;
    setAnchorPoint(CCPoint(0.5f, 0.5f));
}

CCLayer::~CCLayer() = default;

CCLayer* CCLayer::create() {
    CCLayer* layer = new CCLayer();
    if (layer->init()) {
        layer->autorelease();
        return layer;
    }
    delete layer;
    return nullptr;
}

bool CCLayer::init() {
    setContentSize(CCDirector::sharedDirector()->getWinSize());
    return true;
}

void CCLayer::registerWithTouchDispatcher() {
    CCTouchDispatcher* dispatcher = CCDirector::sharedDirector()->getTouchDispatcher();
    if (m_eTouchMode == kCCTouchesAllAtOnce) {
        dispatcher->addStandardDelegate(this, m_nTouchPriority);
    } else {
        dispatcher->addTargetedDelegate(this, m_nTouchPriority, true);
    }
}

void CCLayer::updateTouchRegistration() {
    if (!m_bRunning) {
        return;
    }
    CCTouchDispatcher* dispatcher = CCDirector::sharedDirector()->getTouchDispatcher();
    // Keep this layer alive between removal and registration (the dispatcher may hold the last reference).
    retain();
    dispatcher->removeDelegate(this);
    if (m_bTouchEnabled) {
        registerWithTouchDispatcher();
    }
    release();
}

void CCLayer::setTouchEnabled(bool value) {
    if (m_bTouchEnabled != value) {
        m_bTouchEnabled = value;
        updateTouchRegistration();
    }
}

void CCLayer::setTouchMode(ccTouchesMode mode) {
    if (m_eTouchMode != mode) {
        m_eTouchMode = mode;
        if (m_bTouchEnabled) {
            updateTouchRegistration();
        }
    }
}

void CCLayer::setTouchPriority(int priority) {
    if (m_nTouchPriority != priority) {
        m_nTouchPriority = priority;
        if (m_bTouchEnabled) {
            updateTouchRegistration();
        }
    }
}

void CCLayer::setAccelerometerEnabled(bool value) {
    if (m_bAccelerometerEnabled != value) {
        m_bAccelerometerEnabled = value;
        if (m_bRunning) {
            CCDirector::sharedDirector()->getAccelerometer()->setDelegate(value ? this : nullptr);
        }
    }
}

void CCLayer::setAccelerometerInterval(double interval) {
    if (m_bAccelerometerEnabled) {
        CCDirector::sharedDirector()->getAccelerometer()->setAccelerometerInterval(
            static_cast<float>(interval));
    }
}

void CCLayer::setKeypadEnabled(bool value) {
    if (m_bKeypadEnabled != value) {
        m_bKeypadEnabled = value;
        if (m_bRunning) {
            CCKeypadDispatcher* dispatcher = CCDirector::sharedDirector()->getKeypadDispatcher();
            if (value) {
                dispatcher->addDelegate(this);
            } else {
                dispatcher->removeDelegate(this);
            }
        }
    }
}

void CCLayer::onEnter() {
    CCDirector* director = CCDirector::sharedDirector();
    if (m_bTouchEnabled) {
        registerWithTouchDispatcher();
    }
    CCNode::onEnter();
    if (m_bKeypadEnabled) {
        director->getKeypadDispatcher()->addDelegate(this);
    }
}

void CCLayer::onEnterTransitionDidFinish() {
    if (m_bAccelerometerEnabled) {
        CCDirector::sharedDirector()->getAccelerometer()->setDelegate(this);
    }
    CCNode::onEnterTransitionDidFinish();
}

void CCLayer::onExit() {
    CCDirector* director = CCDirector::sharedDirector();
    if (m_bTouchEnabled) {
        director->getTouchDispatcher()->removeDelegate(this);
    }
    if (m_bAccelerometerEnabled && director->getAccelerometer()->getDelegate() == this) {
        director->getAccelerometer()->setDelegate(nullptr);
    }
    if (m_bKeypadEnabled) {
        director->getKeypadDispatcher()->removeDelegate(this);
    }
    CCNode::onExit();
}

NS_CC_END
