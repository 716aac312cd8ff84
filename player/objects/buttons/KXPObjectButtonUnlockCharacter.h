#pragma once

// A button for one playable character: while the character is locked a press unlocks it (with
// coins, in the store, with a rewarded video or through a web link); once unlocked a press
// makes it the selected character. It shows the character's picture and up to three animated
// icons (idle, locked, selected) by the character's state, which it reads every frame.

#include <memory>
#include <string>

#include "player/objects/buttons/KXPObjectButton.h"

class KXModelAnimation;
class KXModelAssetCharacter;
class KXPAnimationObject;

class KXPObjectButtonUnlockCharacter : public KXPObjectButton {
public:
    enum State { kStateNone = 0, kStateUnlocked = 1, kStateLocked = 2, kStateSelected = 3 };
    // A web-link unlock is granted this many frames after the link was opened.
    static constexpr int kPendingUnlockFrames = 10;

    ~KXPObjectButtonUnlockCharacter() override;

    // Finds the character named by "Character" (a model id), takes its picture and makes the
    // icons.
    void setModel(const std::shared_ptr<KXModelObjectButton>& model) override;
    void update(float dt) override;
    // Locked: starts the character's unlock. Unlocked: selects it. Then the normal button press.
    void activate() override;

    // The unlock was paid for (store, rewarded video, web link): the character is unlocked,
    // selected and saved.
    void completeUnlock();
    // The store's report of a completed purchase.
    void purchaseDidComplete(const std::string& productIdentifier);

    int state() const { return m_state; }
    // The character's place in the list of characters; -1 without a character.
    int characterIndex() const { return m_characterIndex; }
    bool isUnlockPending() const { return m_pendingUnlock; }
    KXPAnimationObject* idleIcon() const { return m_idleIcon; }
    KXPAnimationObject* lockedIcon() const { return m_lockedIcon; }
    KXPAnimationObject* selectedIcon() const { return m_selectedIcon; }
    cocos2d::CCSprite* characterImage() const { return m_characterImage; }

private:
    // The state, a pending unlock, the icons and the picture, after the base update.
    void showUnlockState(float dt);
    KXPAnimationObject* makeIcon(const std::shared_ptr<KXModelAnimation>& animation);
    void startUnlock(const KXModelAssetCharacter& character);
    // The state by the settings: locked, selected or just unlocked; none without a character.
    int currentState() const;
    // Shows the picture and icons of a state.
    void showState(int state);

    KXPAnimationObject* m_idleIcon = nullptr;
    KXPAnimationObject* m_lockedIcon = nullptr;
    KXPAnimationObject* m_selectedIcon = nullptr;
    cocos2d::CCSprite* m_characterImage = nullptr;
    std::shared_ptr<KXModelAssetCharacter> m_character;
    int m_state = kStateNone;
    int m_characterIndex = -1;
    bool m_pendingUnlock = false;
    int m_pendingFrames = 0;
};
