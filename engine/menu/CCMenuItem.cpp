#include "menu/CCMenuItem.h"

NS_CC_BEGIN

namespace {

enum {
    kNormalTag = 0x1,
    kSelectedTag = 0x2,
    kDisableTag = 0x3,
};

} // namespace

// --- CCMenuItem ---

CCMenuItem::CCMenuItem()
    : m_bSelected(false), m_bEnabled(false), m_pListener(nullptr), m_pfnSelector(nullptr) {}

CCMenuItem::~CCMenuItem() = default;

CCMenuItem* CCMenuItem::create() {
    return create(nullptr, nullptr);
}

CCMenuItem* CCMenuItem::create(CCObject* rec, SEL_MenuHandler selector) {
    CCMenuItem* item = new CCMenuItem();
    item->initWithTarget(rec, selector);
    item->autorelease();
    return item;
}

bool CCMenuItem::initWithTarget(CCObject* rec, SEL_MenuHandler selector) {
    setAnchorPoint(CCPoint(0.5f, 0.5f));
    m_pListener = rec;
    m_pfnSelector = selector;
    m_bEnabled = true;
    m_bSelected = false;
    return true;
}

CCRect CCMenuItem::rect() {
    return CCRect(m_obPosition.x - m_obContentSize.width * m_obAnchorPoint.x,
                  m_obPosition.y - m_obContentSize.height * m_obAnchorPoint.y, m_obContentSize.width,
                  m_obContentSize.height);
}

void CCMenuItem::activate() {
    if (m_bEnabled && m_pListener && m_pfnSelector) {
        (m_pListener->*m_pfnSelector)(this);
    }
}

void CCMenuItem::selected() {
    m_bSelected = true;
}

void CCMenuItem::unselected() {
    m_bSelected = false;
}

void CCMenuItem::setEnabled(bool value) {
    m_bEnabled = value;
}

void CCMenuItem::setTarget(CCObject* rec, SEL_MenuHandler selector) {
    m_pListener = rec;
    m_pfnSelector = selector;
}

// --- CCMenuItemSprite ---

CCMenuItemSprite::CCMenuItemSprite()
    : m_pNormalImage(nullptr), m_pSelectedImage(nullptr), m_pDisabledImage(nullptr) {}

CCMenuItemSprite* CCMenuItemSprite::create(CCNode* normalSprite, CCNode* selectedSprite,
                                           CCNode* disabledSprite) {
    return create(normalSprite, selectedSprite, disabledSprite, nullptr, nullptr);
}

CCMenuItemSprite* CCMenuItemSprite::create(CCNode* normalSprite, CCNode* selectedSprite, CCObject* target,
                                           SEL_MenuHandler selector) {
    return create(normalSprite, selectedSprite, nullptr, target, selector);
}

CCMenuItemSprite* CCMenuItemSprite::create(CCNode* normalSprite, CCNode* selectedSprite,
                                           CCNode* disabledSprite, CCObject* target,
                                           SEL_MenuHandler selector) {
    CCMenuItemSprite* item = new CCMenuItemSprite();
    item->initWithNormalSprite(normalSprite, selectedSprite, disabledSprite, target, selector);
    item->autorelease();
    return item;
}

bool CCMenuItemSprite::initWithNormalSprite(CCNode* normalSprite, CCNode* selectedSprite,
                                            CCNode* disabledSprite, CCObject* target,
                                            SEL_MenuHandler selector) {
    initWithTarget(target, selector);
    setNormalImage(normalSprite);
    setSelectedImage(selectedSprite);
    setDisabledImage(disabledSprite);
    updateImagesVisibility();
    return true;
}

void CCMenuItemSprite::replaceImage(CCNode*& slot, CCNode* image, int tag) {
    if (image == slot) {
        return;
    }
    if (image && image->getParent() && image->getParent() != this) {
        CCLOG("CCMenuItemSprite: an image that belongs to another node is ignored");
        return;
    }
    if (slot) {
        removeChild(slot, true);
        slot = nullptr;
    }
    if (image) {
        if (!image->getParent()) {
            addChild(image, 0, tag);
        }
        image->setAnchorPoint(CCPoint(0.0f, 0.0f));
        slot = image;
    }
}

void CCMenuItemSprite::setNormalImage(CCNode* image) {
    replaceImage(m_pNormalImage, image, kNormalTag);
    if (m_pNormalImage) {
        setContentSize(m_pNormalImage->getContentSize());
    }
    updateImagesVisibility();
}

void CCMenuItemSprite::setSelectedImage(CCNode* image) {
    replaceImage(m_pSelectedImage, image, kSelectedTag);
    updateImagesVisibility();
}

void CCMenuItemSprite::setDisabledImage(CCNode* image) {
    replaceImage(m_pDisabledImage, image, kDisableTag);
    updateImagesVisibility();
}

void CCMenuItemSprite::updateImagesVisibility() {
    CCNode* shown = m_pNormalImage;
    if (!m_bEnabled && m_pDisabledImage) {
        shown = m_pDisabledImage;
    } else if (m_bSelected && m_pSelectedImage) {
        shown = m_pSelectedImage;
    }
    for (CCNode* image : {m_pNormalImage, m_pSelectedImage, m_pDisabledImage}) {
        if (image) {
            image->setVisible(image == shown);
        }
    }
}

void CCMenuItemSprite::selected() {
    CCMenuItem::selected();
    updateImagesVisibility();
}

void CCMenuItemSprite::unselected() {
    CCMenuItem::unselected();
    updateImagesVisibility();
}

void CCMenuItemSprite::setEnabled(bool bEnabled) {
    CCMenuItem::setEnabled(bEnabled);
    updateImagesVisibility();
}

void CCMenuItemSprite::setOpacity(GLubyte opacity) {
    CCMenuItem::setOpacity(opacity);
    for (CCNode* image : {m_pNormalImage, m_pSelectedImage, m_pDisabledImage}) {
        if (CCRGBAProtocol* rgba = dynamic_cast<CCRGBAProtocol*>(image)) {
            rgba->setOpacity(opacity);
        }
    }
}

void CCMenuItemSprite::setColor(const ccColor3B& color) {
    CCMenuItem::setColor(color);
    for (CCNode* image : {m_pNormalImage, m_pSelectedImage, m_pDisabledImage}) {
        if (CCRGBAProtocol* rgba = dynamic_cast<CCRGBAProtocol*>(image)) {
            rgba->setColor(color);
        }
    }
}

NS_CC_END
