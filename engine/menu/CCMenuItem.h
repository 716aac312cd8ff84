// Touchable items of a CCMenu. activate() calls listener->selector(this) when both are set and
// the item is enabled.
#pragma once

#include "nodes/CCNodeRGBA.h"

NS_CC_BEGIN

class CCMenuItem : public CCNodeRGBA {
public:
    CCMenuItem();
    ~CCMenuItem() override;

    static CCMenuItem* create();
    static CCMenuItem* create(CCObject* rec, SEL_MenuHandler selector);
    bool initWithTarget(CCObject* rec, SEL_MenuHandler selector);

    // The item's rectangle in its parent's space (position minus anchor offset, content size).
    CCRect rect();
    virtual void activate();
    virtual void selected();
    virtual void unselected();
    virtual void setEnabled(bool value);
    virtual bool isEnabled() { return m_bEnabled; }
    virtual bool isSelected() { return m_bSelected; }
    // The listener is not retained (it usually owns the item).
    void setTarget(CCObject* rec, SEL_MenuHandler selector);

protected:
    bool m_bSelected;
    bool m_bEnabled;
    CCObject* m_pListener;
    SEL_MenuHandler m_pfnSelector;
};

// An item shown by up to three image nodes, which become its children: the selected image while
// selected (when there is one), the disabled image while disabled (when there is one), else the
// normal image. Opacity and colour are forwarded to the images that carry them.
class CCMenuItemSprite : public CCMenuItem {
public:
    CCMenuItemSprite();

    static CCMenuItemSprite* create(CCNode* normalSprite, CCNode* selectedSprite,
                                    CCNode* disabledSprite = nullptr);
    static CCMenuItemSprite* create(CCNode* normalSprite, CCNode* selectedSprite, CCObject* target,
                                    SEL_MenuHandler selector);
    static CCMenuItemSprite* create(CCNode* normalSprite, CCNode* selectedSprite, CCNode* disabledSprite,
                                    CCObject* target, SEL_MenuHandler selector);
    // May be called again to replace the images.
    bool initWithNormalSprite(CCNode* normalSprite, CCNode* selectedSprite, CCNode* disabledSprite,
                              CCObject* target, SEL_MenuHandler selector);

    CCNode* getNormalImage() const { return m_pNormalImage; }
    CCNode* getSelectedImage() const { return m_pSelectedImage; }
    CCNode* getDisabledImage() const { return m_pDisabledImage; }
    // The content size follows the normal image.
    void setNormalImage(CCNode* image);
    void setSelectedImage(CCNode* image);
    void setDisabledImage(CCNode* image);

    void selected() override;
    void unselected() override;
    void setEnabled(bool bEnabled) override;
    void setOpacity(GLubyte opacity) override;
    void setColor(const ccColor3B& color) override;

protected:
    // Shows the one image that fits the current state.
    virtual void updateImagesVisibility();
    void replaceImage(CCNode*& slot, CCNode* image, int tag);

    CCNode* m_pNormalImage;
    CCNode* m_pSelectedImage;
    CCNode* m_pDisabledImage;
};

NS_CC_END
