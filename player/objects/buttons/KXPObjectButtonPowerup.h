#pragma once

// The in-game action button that uses a powerup from the player's stock: it shows how many are
// left and the time to the next free refill, hides until the run has come far enough against the
// best run, and is disabled while the stock is empty. The use itself is the screen's handler.

#include "player/objects/buttons/KXPObjectButton.h"

#include <memory>
#include <string>

class KXModelAssetPowerup;
class KXModelObjectButtonPowerup;

class KXPObjectButtonPowerup : public KXPObjectButton {
public:
    // The refill label sits this far above the count label.
    static constexpr float kRefillLabelRise = 30.0f;

    ~KXPObjectButtonPowerup() override;

    void setModel(const std::shared_ptr<KXModelObjectButton>& model) override;
    void update(float dt) override;
    // With "Force Action on Press" the press itself fires the action...
    void selected() override;
    // ...and the release does not fire it again.
    void activate() override;

    // The refill clock after a use.
    void registerRefill();

    // The model's "Powerup Selection" read as the id of a powerup asset; 0 when it has none.
    static uint32_t powerupSelectionId(const KXModelObjectButton& model);
    // Seconds as "hh:mm:ss".
    static std::string refillText(int seconds);

    const std::shared_ptr<KXModelAssetPowerup>& powerupAsset() const { return m_powerupAsset; }
    cocos2d::CCLabelBMFont* countLabel() const { return m_countLabel; }
    cocos2d::CCLabelBMFont* refillLabel() const { return m_refillLabel; }

private:
    // The stock on the labels, the gate and the enabled state, after the base update.
    void showStock();
    std::shared_ptr<KXModelObjectButtonPowerup> powerupModel() const;
    cocos2d::CCLabelBMFont* makeLabel(float rise);
    // Hidden while the session distance is below the threshold's share of the best distance.
    bool passesDistanceGate() const;

    std::shared_ptr<KXModelAssetPowerup> m_powerupAsset;
    cocos2d::CCLabelBMFont* m_countLabel = nullptr;
    cocos2d::CCLabelBMFont* m_refillLabel = nullptr;
    // What the labels show: a label lays its glyphs out again on every new text.
    int m_shownCount = -1;
    std::string m_shownRefill;
};
