#include "player/objects/buttons/KXPObjectButtonPurchase.h"

#include <algorithm>

#include "model/KXDebugLog.h"
#include "model/KXNumeric.h"
#include "model/classes/KXModelAssetPowerup.h"
#include "model/classes/KXModelObjectButtonPurchase.h"
#include "model/classes/KXModelQueries.h"
#include "model/classes/KXModelScreen.h"
#include "player/ads/KXAdController.h"
#include "player/objects/buttons/KXPPurchaseScreens.h"
#include "player/sound/KXSound.h"
#include "player/store/KXPCoinPayment.h"
#include "player/store/KXPScoreTable.h"
#include "player/store/KXPSettingsController.h"

using namespace cocos2d;

namespace {

constexpr const char* kOneTimeDefault = "kDefault";
constexpr const char* kPerGamePurchase = "kPerGamePurchase";
constexpr const char* kTypePowerup = "kPurchasePowerup";
constexpr const char* kTypeRemoveAds = "kPurchaseRemoveAds";
constexpr const char* kMethodCoins = "kInGameCurrency";
constexpr const char* kMethodRewardedVideos = "kRewardedVideos";
constexpr const char* kCoinPowerup = "kPowerupCoin";

KXPPurchaseScreens* installedScreens = nullptr;

// Adds to the running and lifetime figures; the best follows the running one.
void addTo(KXPScoreCount& value, int amount) {
    value.session += amount;
    value.total += amount;
    value.best = std::max(value.best, value.session);
}

// A coin powerup bought outside a game credits its rewards to the global record at once.
void creditCoinPowerup(const KXModelAssetPowerup& powerup) {
    if (powerup.powerupType() != kCoinPowerup)
        return;
    KXPScoreRecord& global = worldScores("");
    addTo(global.coins, powerup.rewardCoins());
    addTo(global.points, powerup.rewardPoints());
}

} // namespace

KXPObjectButtonPurchase* KXPObjectButtonPurchase::createWithSprites(CCNode* normal, CCNode* selected,
                                                                    CCNode* disabled) {
    auto* button = new KXPObjectButtonPurchase();
    button->initWithNormalSprite(normal, selected, disabled, nullptr, nullptr);
    button->autorelease();
    return button;
}

KXPObjectButtonPurchase::KXPObjectButtonPurchase() : m_lockStateListener([this] { refreshLockState(); }) {}

KXPObjectButtonPurchase::~KXPObjectButtonPurchase() {
    delete m_purchaseSound;
    m_powerup.reset();
}

void KXPObjectButtonPurchase::setScreens(KXPPurchaseScreens* screens) {
    installedScreens = screens;
}

KXPPurchaseScreens* KXPObjectButtonPurchase::screens() {
    return installedScreens;
}

std::shared_ptr<KXModelObjectButtonPurchase> KXPObjectButtonPurchase::purchaseModel() const {
    return modelCast<KXModelObjectButtonPurchase>(m_model);
}

float KXPObjectButtonPurchase::price() const {
    auto model = purchaseModel();
    return model ? model->price() : 0.0f;
}

bool KXPObjectButtonPurchase::isOneTime() const {
    auto model = purchaseModel();
    return model && model->oneTimePurchase() != kOneTimeDefault;
}

bool KXPObjectButtonPurchase::sellsMissingPowerup() const {
    auto model = purchaseModel();
    return model && model->purchaseType() == kTypePowerup && !m_powerup;
}

bool KXPObjectButtonPurchase::isBought() const {
    return isOneTime() && m_lockState && !*m_lockState;
}

void KXPObjectButtonPurchase::markBought() {
    if (m_lockState)
        *m_lockState = false;
    setVisible(false);
    setEnabled(false);
}

void KXPObjectButtonPurchase::setModel(const std::shared_ptr<KXModelObjectButton>& model) {
    KXPObjectButton::setModel(model);
    auto purchase = purchaseModel();
    if (!purchase)
        return;
    if (purchase->purchaseType() == kTypePowerup)
        m_powerup = ::getModel<KXModelAssetPowerup>(purchase->powerupSelectionId());
    if (purchase->purchaseType() == kTypeRemoveAds && KXPSettingsController::shared()->isRemoveAds()) {
        setVisible(false);
        setEnabled(false);
    }
    m_rewardedVideo = purchase->purchaseMethod() == kMethodRewardedVideos;
    if (isOneTime()) {
        // The entry is taken whatever the "Interval", so that every purchase is recorded; a
        // button with an "Interval" above 1 keeps its look at creation.
        refreshLockState();
        if (purchase->interval() <= 1.0f && isBought()) {
            setVisible(false);
            setEnabled(false);
        }
    }
    if (auto sound = purchase->purchaseCompleteSound()) {
        m_purchaseSound = new KXSound(sound, KXSound::kInterfaceGroup);
        // Sounds may be deleted for everyone at once; the button then has none.
        m_purchaseSound->setReleaseHook([this] { m_purchaseSound = nullptr; });
    }
}

void KXPObjectButtonPurchase::refreshLockState() {
    m_lockState = m_model ? &lockState(m_model->name()) : nullptr;
}

void KXPObjectButtonPurchase::addToInventory() {
    auto model = purchaseModel();
    if (!m_powerup || !model)
        return;
    KXPSettingsController* settings = KXPSettingsController::shared();
    const int count = settings->inventoryCount(m_powerup);
    settings->setInventoryCount(m_powerup, kx::truncateToInt(static_cast<float>(count) + model->quantity()));
}

void KXPObjectButtonPurchase::playPurchaseSound() {
    if (m_purchaseSound)
        m_purchaseSound->play(false, false);
}

void KXPObjectButtonPurchase::purchase() {
    auto model = purchaseModel();
    if (!model)
        return;
    if (isBought()) {
        // Shown again by its "Interval": a one-time item is never paid twice.
        debugLog("[KXPObjectButtonPurchase] %s: already bought", model->name().c_str());
        return;
    }
    if (sellsMissingPowerup()) {
        // Nothing could be delivered: nothing is paid and nothing counts as bought.
        debugLog("[KXPObjectButtonPurchase] %s: sells no powerup; nothing bought", model->name().c_str());
        return;
    }
    if (model->purchaseMethod() == kMethodCoins) {
        if (!isCoinPrice(model->price())) {
            debugLog("[KXPObjectButtonPurchase] %s: refused, the price is not a number of coins",
                     model->name().c_str());
            return;
        }
        if (!payGlobalCoins(model->price()))
            return;
    }

    const std::string& type = model->purchaseType();
    if (model->buyAndUse()) {
        if (type == kTypePowerup) {
            // Between scenes no screen runs to use it.
            if (m_powerup && installedScreens)
                installedScreens->useOnRunningScreen(m_powerup);
        } else if (type == kTypeRemoveAds) {
            purchaseDidComplete(kNonStorePurchase);
        }
    } else {
        addToInventory();
    }

    if (isOneTime())
        markBought();
    KXPSettingsController::shared()->save();
    playPurchaseSound();
    if (model->purchaseMethod() == kMethodRewardedVideos) {
        for (const auto& screen : getModels<KXModelScreen>())
            screen->interstitialCounter = 0;
    }
    if (installedScreens)
        installedScreens->updateUnlockCharacterButton();
}

void KXPObjectButtonPurchase::purchaseDidComplete(const std::string& productIdentifier) {
    auto model = purchaseModel();
    if (!model)
        return;
    const std::string& type = model->purchaseType();
    const bool deliversPowerup =
        type == kTypePowerup && productIdentifier == model->storeIdentifier() && !sellsMissingPowerup();
    const bool removesAds = type == kTypeRemoveAds;
    // Only what was delivered counts as bought.
    if (isOneTime() && (deliversPowerup || removesAds))
        markBought();
    debugLog("[KXPObjectButtonPurchase] purchase did comlete: %s", productIdentifier.c_str());

    if (deliversPowerup) {
        if (model->buyAndUse()) {
            if (installedScreens && installedScreens->isGameSceneCurrent()) {
                if (m_powerup)
                    installedScreens->useOnGameScene(m_powerup);
            } else if (m_powerup) {
                creditCoinPowerup(*m_powerup);
            }
        } else {
            addToInventory();
        }
    }
    if (removesAds) {
        KXPSettingsController::shared()->setRemoveAds(true);
        if (getNormalImage()) {
            setVisible(false);
            setEnabled(false);
        }
        if (installedScreens)
            installedScreens->adsRemoved();
    }
    KXPSettingsController::shared()->save();
    if (productIdentifier != kNonStorePurchase)
        playPurchaseSound();
}

void KXPObjectButtonPurchase::update(float dt) {
    // Held to the end: the base update's touch emulation may buy, and what that does may take
    // this button's screen down.
    CCObject* self = this;
    self->retain();
    KXPObjectButton::update(dt);
    showAvailability();
    self->release();
}

void KXPObjectButtonPurchase::showAvailability() {
    if (!isEnabled())
        return;
    auto model = purchaseModel();
    if (!model)
        return;
    if (m_rewardedVideo) {
        const bool available =
            KXAdController::shared()->isRewardedVideoAvailable(model->adNetwork()) && model->isActionDue();
        setVisible(available);
        if (!available)
            return;
    }
    // Only a button with a threshold changes its visibility here: others keep what the screen
    // or their "Interval" gave them.
    const float threshold = model->visibilityThreshold();
    if (threshold > 0.0f) {
        const bool gameScene = installedScreens && installedScreens->isGameSceneCurrent();
        setVisible(!gameScene || threshold > currentWorldScores().distance.session);
    }
}

void KXPObjectButtonPurchase::resetPerGamePurchases() {
    for (const auto& model : getModels<KXModelObjectButtonPurchase>()) {
        if (model->oneTimePurchase() == kPerGamePurchase)
            lockState(model->name()) = true;
    }
}
