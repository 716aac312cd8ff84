#pragma once

// A button over a locked scene: while locked it shows its locked pictures and a press buys the
// unlock (in the store, or with collected coins); once unlocked it shows its normal pictures and
// a press picks the level section to play, then calls the screen's handler. Its state is the
// lock-state table's entry under the button's "Name", so every screen agrees on it.

#include <string>

#include "player/objects/buttons/KXPObjectButton.h"
#include "player/store/KXPLockStateTable.h"

class KXModelObjectLockButton;

class KXPObjectButtonLock : public KXPObjectButton {
public:
    static constexpr const char* kStorePurchase = "kInAppPurchase";
    static constexpr const char* kCoinPurchase = "kInGameCurrency";
    static constexpr const char* kSceneDestination = "kSceneDestination";
    static constexpr const char* kNextSceneDestination = "kNextSceneDestination";
    static constexpr const char* kNonStorePurchase = "non IAP purchase";

    KXPObjectButtonLock();

    void setModel(const std::shared_ptr<KXModelObjectButton>& model) override;
    // Follows changes of the entry (another button's unlock, a reloaded table) with its pictures.
    void update(float dt) override;
    // Locked: buys the unlock. Unlocked: picks the level section, locks again with "Auto Lock",
    // then the normal button press (sound, "Interval", screen handler). Saves either way.
    void activate() override;

    // The unlock is paid: the entry opens and the pictures change at once; with "Auto Follow"
    // the button goes on as if pressed.
    void unlockDidComplete(const std::string& productIdentifier);

    // Points at the table's entry for the button's "Name" (inserted locked when missing) and
    // rebuilds the pictures; runs again whenever the table is rebuilt.
    void refreshLockState();
    bool isLocked() const { return m_locked; }
    bool* lockStateEntry() const { return m_lockState; }

private:
    std::shared_ptr<KXModelObjectLockButton> lockModel() const;
    void rebuildImages();
    void buyUnlock(const KXModelObjectLockButton& model);
    void goToScene(const KXModelObjectLockButton& model);

    bool* m_lockState = nullptr;
    bool m_locked = true;
    KXPLockStateListener m_lockStateListener;
};
