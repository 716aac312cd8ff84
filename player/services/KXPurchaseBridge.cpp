#include "player/services/KXPurchaseBridge.h"

#include "model/KXDebugLog.h"

KXPurchaseBridge* KXPurchaseBridge::shared() {
    static KXPurchaseBridge* bridge = new KXPurchaseBridge();
    return bridge;
}

void KXPurchaseBridge::setCallback(cocos2d::CCObject* target, SEL_PurchaseHandler handler) {
    // Retained: a later purchase must not reach a button whose screen is gone.
    CC_SAFE_RETAIN(target);
    CC_SAFE_RELEASE(m_target);
    m_target = target;
    m_handler = handler;
}

void KXPurchaseBridge::purchase(const std::string& productIdentifier) {
    if (!m_target || !m_handler)
        return;
    debugLog("[KXPurchaseBridge] purchase completed: %s", productIdentifier.c_str());
    // The handler may store another callback; keep this target alive through the call.
    cocos2d::CCObject* target = m_target;
    SEL_PurchaseHandler handler = m_handler;
    target->retain();
    (target->*handler)(productIdentifier);
    target->release();
}
