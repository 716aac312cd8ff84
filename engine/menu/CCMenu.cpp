#include "menu/CCMenu.h"

#include <cstdarg>

#include "director/CCDirector.h"
#include "input/CCTouchDispatcher.h"

NS_CC_BEGIN

CCMenu::CCMenu()
    : m_bEnabled(false), m_bSwallowsTouches(true), m_eState(kCCMenuStateWaiting), m_pSelectedItem(nullptr) {}

CCMenu::~CCMenu() {
    CC_SAFE_RELEASE(m_pSelectedItem);
}

CCMenu* CCMenu::create() {
    return createWithArray(nullptr);
}

CCMenu* CCMenu::create(bool swallowsTouches) {
    CCMenu* menu = create();
    if (menu) {
        menu->setSwallowsTouches(swallowsTouches);
    }
    return menu;
}

CCMenu* CCMenu::create(CCMenuItem* item, ...) {
    CCArray* items = CCArray::create();
    va_list args;
    va_start(args, item);
    for (CCMenuItem* each = item; each; each = va_arg(args, CCMenuItem*)) {
        items->addObject(each);
    }
    va_end(args);
    return createWithArray(items);
}

CCMenu* CCMenu::createWithItem(CCMenuItem* item) {
    return create(item, nullptr);
}

CCMenu* CCMenu::createWithArray(CCArray* pArrayOfItems) {
    CCMenu* menu = new CCMenu();
    if (menu->initWithArray(pArrayOfItems)) {
        menu->autorelease();
        return menu;
    }
    delete menu;
    return nullptr;
}

bool CCMenu::init() {
    return initWithArray(nullptr);
}

bool CCMenu::initWithArray(CCArray* pArrayOfItems) {
    if (!CCLayer::init()) {
        return false;
    }
    m_nTouchPriority = kCCMenuHandlerPriority;
    m_eTouchMode = kCCTouchesOneByOne;
    m_bTouchEnabled = true;
    m_bEnabled = true;

    const CCSize winSize = CCDirector::sharedDirector()->getWinSize();
    ignoreAnchorPointForPosition(true);
    setAnchorPoint(CCPoint(0.5f, 0.5f));
    setContentSize(winSize);
    setPosition(CCPoint(winSize.width / 2.0f, winSize.height / 2.0f));

    if (pArrayOfItems) {
        int z = 0;
        for (CCObject* object : pArrayOfItems->data()) {
            addChild(static_cast<CCMenuItem*>(object), z++);
        }
    }
    m_eState = kCCMenuStateWaiting;
    return true;
}

void CCMenu::setSwallowsTouches(bool swallows) {
    if (m_bSwallowsTouches != swallows) {
        m_bSwallowsTouches = swallows;
        if (m_bTouchEnabled) {
            updateTouchRegistration();
        }
    }
}

void CCMenu::registerWithTouchDispatcher() {
    CCDirector::sharedDirector()->getTouchDispatcher()->addTargetedDelegate(this, m_nTouchPriority,
                                                                            m_bSwallowsTouches);
}

void CCMenu::setSelectedItem(CCMenuItem* item) {
    CC_SAFE_RETAIN(item);
    CC_SAFE_RELEASE(m_pSelectedItem);
    m_pSelectedItem = item;
}

CCMenuItem* CCMenu::itemForTouch(CCTouch* touch) {
    if (!touch || !m_pChildren) {
        return nullptr;
    }
    sortAllChildren();
    const CCPoint location = touch->getLocation();
    for (unsigned int i = m_pChildren->count(); i > 0; --i) {
        CCMenuItem* item = dynamic_cast<CCMenuItem*>(m_pChildren->objectAtIndex(i - 1));
        if (!item || !item->isVisible() || !item->isEnabled()) {
            continue;
        }
        const CCPoint local = item->convertToNodeSpace(location);
        CCRect r = item->rect();
        r.origin = CCPointZero;
        if (r.containsPoint(local)) {
            return item;
        }
    }
    return nullptr;
}

bool CCMenu::ccTouchBegan(CCTouch* touch, CCEvent* event) {
    (void)event;
    if (m_eState != kCCMenuStateWaiting || !m_bVisible || !m_bEnabled) {
        return false;
    }
    // Hiding any ancestor disables the menu.
    for (CCNode* ancestor = m_pParent; ancestor; ancestor = ancestor->getParent()) {
        if (!ancestor->isVisible()) {
            return false;
        }
    }
    CCMenuItem* item = itemForTouch(touch);
    if (!item) {
        return false;
    }
    setSelectedItem(item);
    m_eState = kCCMenuStateTrackingTouch;
    item->selected();
    return true;
}

void CCMenu::ccTouchEnded(CCTouch* touch, CCEvent* event) {
    (void)touch, (void)event;
    m_eState = kCCMenuStateWaiting;
    CCMenuItem* item = m_pSelectedItem;
    m_pSelectedItem = nullptr; // our reference moves to this call
    if (item) {
        item->unselected();
        item->activate();
        item->release();
    }
}

void CCMenu::ccTouchCancelled(CCTouch* touch, CCEvent* event) {
    (void)touch, (void)event;
    m_eState = kCCMenuStateWaiting;
    CCMenuItem* item = m_pSelectedItem;
    m_pSelectedItem = nullptr;
    if (item) {
        item->unselected();
        item->release();
    }
}

void CCMenu::ccTouchMoved(CCTouch* touch, CCEvent* event) {
    (void)event;
    if (m_eState != kCCMenuStateTrackingTouch) {
        return;
    }
    CCMenuItem* current = itemForTouch(touch);
    if (current == m_pSelectedItem) {
        return;
    }
    if (m_pSelectedItem) {
        m_pSelectedItem->unselected();
    }
    setSelectedItem(current);
    if (m_pSelectedItem) {
        m_pSelectedItem->selected();
    }
}

void CCMenu::onExit() {
    if (m_eState == kCCMenuStateTrackingTouch) {
        if (m_pSelectedItem) {
            m_pSelectedItem->unselected();
        }
        setSelectedItem(nullptr);
        m_eState = kCCMenuStateWaiting;
    }
    CCLayer::onExit();
}

NS_CC_END
