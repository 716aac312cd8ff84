#pragma once

// The hook through which a store purchase reports back. This platform has no store: a purchase
// completes at once by calling the stored handler with the product identifier.

#include <string>

#include "cocos2d.h"

// Receives the product identifier of a completed purchase.
typedef void (cocos2d::CCObject::*SEL_PurchaseHandler)(const std::string&);
#define purchase_selector(_SELECTOR) static_cast<SEL_PurchaseHandler>(&_SELECTOR)

class KXPurchaseBridge {
public:
    static KXPurchaseBridge* shared();

    // Either may be null. The target is kept alive while it is stored.
    void setCallback(cocos2d::CCObject* target, SEL_PurchaseHandler handler);
    // With target and handler set, completes the purchase at once (one log line names the
    // product); otherwise nothing.
    void purchase(const std::string& productIdentifier);

private:
    KXPurchaseBridge() = default;

    cocos2d::CCObject* m_target = nullptr;
    SEL_PurchaseHandler m_handler = nullptr;
};
