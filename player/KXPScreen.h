#pragma once

// The base of every screen: the game field and the interface screens derive from it. It holds
// the screen's runtime objects under its controls node (each button in a menu of its own) and
// plays the screen's opening, idle and closing animation on them.
//
// So far the parts the screen objects meet: the controls node and its button menus, binding
// button actions, the animation state handed to the objects, and the running screen. Building
// from the screen model, the object map, deferred actions, music, ads, overlays and navigation
// come with the screens.

#include "cocos2d.h"

#include <string>
#include <vector>

class KXPObjectButton;

class KXPScreen : public cocos2d::CCLayer {
public:
    // Tag of the menu that holds each button under the controls node.
    static constexpr int kButtonMenuTag = 100;
    // Z-order of the controls node in the screen.
    static constexpr int kControlsZOrder = 2000;
    // Animation states (also the animation key the objects evaluate their keyframes under).
    static constexpr int kAnimationOpening = 0;
    static constexpr int kAnimationIdle = 1;
    static constexpr int kAnimationClosing = 2;

    KXPScreen();
    ~KXPScreen() override;

    // The first child of the director's running scene as a screen; null when no scene runs or its
    // first child is not a screen.
    static KXPScreen* runningScreen();

    // Parent of every runtime object of the screen; made by the constructor, added to the screen
    // when the screen is built.
    cocos2d::CCNode* controlsNode() const { return m_controlsNode; }

    // Every button in the menus whose model's "Action" is exactly `action`, in child order.
    std::vector<KXPObjectButton*> buttonsWithAction(const std::string& action) const;
    KXPObjectButton* buttonWithAction(const std::string& action) const;
    // Those buttons deliver their presses to `target` (their own press and release handlers are
    // dropped).
    void bindButtonAction(const std::string& action, cocos2d::CCObject* target,
                          cocos2d::SEL_MenuHandler handler);
    // Those buttons hold an input action: `press` while they show pressed, `release` after.
    void bindInputButton(const std::string& action, cocos2d::CCObject* listener,
                         cocos2d::SEL_MenuHandler press, cocos2d::SEL_MenuHandler release);

    // Hands the state to the screen's texts, images and buttons as their animation key; texts
    // and buttons take their new pose at once.
    virtual void setAnimationState(int state);
    int animationState() const { return m_animationState; }

protected:
    cocos2d::CCNode* m_controlsNode = nullptr;
    int m_animationState = kAnimationOpening;
};
