#pragma once

// The carousel of playable characters on an interface screen: one icon per character in a row
// that the player drags (it glides on and settles with one character in the middle) or taps
// left or right of the middle. An unlocked character in the middle becomes the game's selected
// character; a locked one shows its price and the unlock button, which unlocks it with coins,
// in the store, with a rewarded video or through a web link. A pulsing suggestion button offers
// a random locked character the player can already afford.

#include <memory>
#include <string>
#include <vector>

#include "cocos2d.h"

class KXModelAnimation;
class KXModelObjectCharacterSelector;
class KXPAnimationObject;
class KXSound;

class KXPObjectCharacterSelector : public cocos2d::CCNode, public cocos2d::CCTouchDelegate {
public:
    // Suggestion values below 0: none drawn yet, and no more suggestions on this selector.
    static constexpr int kNoSuggestionYet = -1;
    static constexpr int kNoMoreSuggestions = -2;
    static constexpr float kHitBoxSide = 100.0f;
    static constexpr float kDragFactor = 1.2f;
    static constexpr float kMaxVelocity = 50.0f;
    // Faster than this the row glides; slower it settles on the shown character.
    static constexpr float kGlideVelocity = 2.0f;
    static constexpr float kGlideFriction = 0.94f;
    static constexpr float kEndFriction = 0.7f;
    static constexpr int kWebLinkFrames = 10;

    // The selector for the model, placed at its position, autoreleased; null without a model.
    static KXPObjectCharacterSelector* create(const std::shared_ptr<KXModelObjectCharacterSelector>& model);

    ~KXPObjectCharacterSelector() override;

    // Takes touches only while on stage, so a closed screen's selector never receives them.
    void onEnter() override;
    void onExit() override;
    void update(float dt) override;

    bool ccTouchBegan(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    void ccTouchMoved(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    void ccTouchEnded(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    // Ends a drag; a cancelled touch is never a tap.
    void ccTouchCancelled(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;

    // The screen's animation state (the key of the model's keyframes) and its restart.
    void setAnimationKey(int key) { m_animationKey = key; }
    void resetAnimationTime() { m_clock = 0.0f; }
    int animationKey() const { return m_animationKey; }
    float elapsedTime() const { return m_clock; }

    // Shows that character in the middle and selects it.
    void setSelectedIndex(int index);
    // Shows the character's price and name; an unlocked character becomes the selected one.
    // Nothing outside the list.
    void select(int index);
    // Starts the unlock of that character by its "Purchase Method"; nothing outside the list.
    void unlockCharacter(int index);

    // The unlock button and the suggestion button.
    void unlockButtonPressed(cocos2d::CCObject* sender);
    void suggestionButtonPressed(cocos2d::CCObject* sender);
    // A store purchase completed: every store character with that identifier is granted.
    void purchaseDidComplete(const std::string& productIdentifier);
    // A rewarded video was watched, or the web link's wait is over: the character whose unlock
    // was started is granted.
    void grantPending();

    int shownIndex() const { return m_shownIndex; }
    int entryCount() const { return static_cast<int>(m_entries.size()); }
    int suggestion() const { return m_suggestion; }
    float currentOffset() const { return m_currentOffset; }
    float targetOffset() const { return m_targetOffset; }
    float velocity() const { return m_velocity; }
    bool isDragging() const { return m_dragging; }
    cocos2d::CCLabelBMFont* priceLabel() const { return m_priceLabel; }
    cocos2d::CCLabelBMFont* nameLabel() const { return m_nameLabel; }
    cocos2d::CCMenuItem* unlockButton() const { return m_unlockButton; }
    KXPAnimationObject* unlockButtonFace() const { return m_unlockButtonFace; }
    cocos2d::CCMenuItem* suggestionButton() const { return m_suggestionButton; }
    // The icons of one character (each may be null); null outside the list.
    KXPAnimationObject* regularIcon(int index) const;
    KXPAnimationObject* selectedIcon(int index) const;
    KXPAnimationObject* lockedIcon(int index) const;

private:
    struct Entry {
        KXPAnimationObject* regular = nullptr;
        KXPAnimationObject* selected = nullptr;
        KXPAnimationObject* locked = nullptr;
    };

    KXPObjectCharacterSelector() = default;
    bool init(const std::shared_ptr<KXModelObjectCharacterSelector>& model);
    void makeLabels();
    void makeIcons();
    KXPAnimationObject* makeIcon(const std::shared_ptr<KXModelAnimation>& animation);
    void makeSuggestionButton();
    void makeUnlockButton();
    cocos2d::CCMenu* makeButtonMenu();
    void makeSounds();

    // A stored selection outside the list is shown as the nearest end of it.
    int clampedIndex(int index) const;
    bool isOnShow();
    bool hitBoxContains(const cocos2d::CCPoint& point) const;
    void refreshIcons();
    // Shows the price and name of the character.
    void showLabels(int index);
    // Unlocks, selects and saves the character, with the unlock-yes sound.
    void grant(int index);
    void updateUnlockButton();
    void updateSuggestion(float dt);
    void playSound(KXSound* sound);

    std::vector<Entry> m_entries;
    std::shared_ptr<KXModelObjectCharacterSelector> m_model;
    float m_currentOffset = 0.0f;
    float m_targetOffset = 0.0f;
    int m_shownIndex = -1;
    int m_knownSelection = 0;
    int m_suggestion = kNoSuggestionYet;
    bool m_dragging = false;
    bool m_countdownRunning = false;
    int m_countdown = 0;
    // The character whose web-link or video unlock is under way.
    int m_pendingIndex = -1;
    cocos2d::CCLabelBMFont* m_priceLabel = nullptr;
    cocos2d::CCLabelBMFont* m_nameLabel = nullptr;
    cocos2d::CCMenuItem* m_unlockButton = nullptr;
    KXPAnimationObject* m_unlockButtonFace = nullptr;
    cocos2d::CCMenuItem* m_suggestionButton = nullptr;
    float m_suggestionPhase = 0.0f;
    float m_velocity = 0.0f;
    cocos2d::CCPoint m_suggestionScale = cocos2d::CCPoint(1.0f, 1.0f);
    float m_clock = 0.0f;
    int m_animationKey = 0;
    KXSound* m_unlockYesSound = nullptr;
    KXSound* m_unlockNoSound = nullptr;
    bool m_touchRegistered = false;
};
