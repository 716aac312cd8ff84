#pragma once

// The runtime button of every screen: a menu item built from a button model. It shows the
// model's images (a darker copy when pressed or disabled), plays its click and release sounds,
// follows the model's keyframed pose, can fade itself out after a delay, can be held down by the
// model's keyframed touch emulation, and can be bound to a keyboard key. The specialised buttons
// (purchase, powerup, link, switch, lock, unlock) derive from it.

#include "cocos2d.h"
#include "player/base/KXPKinds.h"

#include <memory>

class KXModelObjectButton;
class KXModelSound;
class KXPScreen;

class KXPObjectButton : public cocos2d::CCMenuItemSprite {
public:
    // Tints of the images made from the normal image: pressed, and disabled.
    static constexpr GLubyte kSelectedTint = 128;
    static constexpr GLubyte kDisabledTint = 60;
    // The side of the invisible button made for a model without an image.
    static constexpr float kPlaceholderSide = 100.0f;
    static constexpr float kAutohideFadeSeconds = 2.0f;

    // The button for a button model, autoreleased; null when the model's "Interval" says this
    // build of its screen shows no button (each call counts one build). `target` is the screen
    // that receives the presses of the kinds that report to it.
    static KXPObjectButton* create(const std::shared_ptr<KXModelObjectButton>& model, KXPScreen* target);
    // The button factory's rows by name, as its made buttons are traced.
    static KXPKindTable kindTable();
    // A plain button over the three image nodes (selected and disabled may be null), autoreleased.
    static KXPObjectButton* createWithSprites(cocos2d::CCNode* normal, cocos2d::CCNode* selected,
                                              cocos2d::CCNode* disabled);
    // A level section's button: plain, over the model's image and its two darker copies, made
    // every time (no "Interval" count, no "Image Selected"); autoreleased, null without a model.
    static KXPObjectButton* createForLevel(const std::shared_ptr<KXModelObjectButton>& model);

    KXPObjectButton();
    // Leaves the key registry when it joined it.
    ~KXPObjectButton() override;

    // Pose, autohide, opacity and touch emulation; only while a model is held.
    void update(float dt) override;
    // The release sound, the "Interval" hold (the button hides until its screen is built again),
    // then the menu target.
    void activate() override;
    // When enabled: the pressed look, the click sound, then the press handler.
    void selected() override;
    // When enabled: the normal look, then the release handler.
    void unselected() override;

    // Keeps the model, makes it findable through the node's user object and binds the model's
    // keyboard key. Each kind of button builds the rest of itself here.
    virtual void setModel(const std::shared_ptr<KXModelObjectButton>& model);
    virtual void resetAnimationTime();
    virtual void setAutohideDelay(float delay);
    virtual void setAnimationKey(int key);

    // The menu target receives activate(); the press and release handlers are dropped.
    void setMenuTarget(cocos2d::CCObject* target, cocos2d::SEL_MenuHandler selector);
    // Binds a held action: `press` and `release` are called on `listener` with this button as
    // the button shows pressed and normal again; the menu selector is dropped.
    void setActionHandler(cocos2d::CCObject* listener, cocos2d::SEL_MenuHandler press,
                          cocos2d::SEL_MenuHandler release);

    // A key bound to the button went down or up (the input controller calls them). Note that
    // release() hides the engine's reference release: drop references through CCObject.
    void press();
    void release();

    // The nearest screen above the button, or null.
    KXPScreen* parentScreen() const;

    std::shared_ptr<KXModelObjectButton> getModel() const { return m_model; }
    std::shared_ptr<KXModelObjectButton> model() const { return m_model; }
    float elapsedTime() const { return m_elapsed; }
    int animationKey() const { return m_animationKey; }
    bool isFadedOut() const { return m_fadedOut; }
    bool isTouchEmulationPressed() const { return m_touchEmulationPressed; }

protected:
    // Fire and forget; nothing without a sound.
    void playSound(const std::shared_ptr<KXModelSound>& sound);
    // Calls a press or release handler on the listener, when both are set.
    void callHandler(cocos2d::SEL_MenuHandler handler);

    cocos2d::SEL_MenuHandler m_pressHandler = nullptr;
    cocos2d::SEL_MenuHandler m_releaseHandler = nullptr;
    float m_autohideDelay = 0.0f;
    float m_elapsed = 0.0f;
    bool m_fadedOut = false;
    int m_animationKey = 0;
    std::shared_ptr<KXModelObjectButton> m_model;
    bool m_touchEmulationPressed = false;

private:
    // Keeps the model and takes its pose at time 0 and its autohide delay.
    void takeModel(const std::shared_ptr<KXModelObjectButton>& model);

    // The key this button is registered under in the input controller, if any.
    bool m_keyRegistered = false;
    int m_registeredKey = 0;
};
