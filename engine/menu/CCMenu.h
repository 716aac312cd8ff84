// A layer of menu items. While running it is a targeted touch delegate with its priority and
// swallow flag. A touch begins on it only when the menu and every ancestor are visible and an
// enabled, visible item (topmost first) contains the touch.
#pragma once

#include "menu/CCMenuItem.h"
#include "nodes/CCLayer.h"

NS_CC_BEGIN

enum {
    kCCMenuHandlerPriority = -128,
};

typedef enum {
    kCCMenuStateWaiting,
    kCCMenuStateTrackingTouch,
} tCCMenuState;

class CCMenu : public CCLayer {
public:
    CCMenu();
    ~CCMenu() override;

    static CCMenu* create();
    // As create(), with the given swallow flag for the touch registration.
    static CCMenu* create(bool swallowsTouches);
    // Null-terminated list of items.
    static CCMenu* create(CCMenuItem* item, ...);
    static CCMenu* createWithArray(CCArray* pArrayOfItems);
    static CCMenu* createWithItem(CCMenuItem* item);
    bool init() override;
    bool initWithArray(CCArray* pArrayOfItems);

    void registerWithTouchDispatcher() override;
    bool ccTouchBegan(CCTouch* touch, CCEvent* event) override;
    void ccTouchEnded(CCTouch* touch, CCEvent* event) override;
    void ccTouchCancelled(CCTouch* touch, CCEvent* event) override;
    void ccTouchMoved(CCTouch* touch, CCEvent* event) override;
    void onExit() override;

    virtual bool isEnabled() { return m_bEnabled; }
    virtual void setEnabled(bool value) { m_bEnabled = value; }
    bool isSwallowingTouches() const { return m_bSwallowsTouches; }
    void setSwallowsTouches(bool swallows);
    CCMenuItem* getSelectedItem() const { return m_pSelectedItem; }

    // The topmost enabled, visible item under the touch, or null.
    CCMenuItem* itemForTouch(CCTouch* touch);

protected:
    void setSelectedItem(CCMenuItem* item);

    bool m_bEnabled;
    bool m_bSwallowsTouches;
    tCCMenuState m_eState;
    CCMenuItem* m_pSelectedItem; // retained while tracking
};

NS_CC_END
