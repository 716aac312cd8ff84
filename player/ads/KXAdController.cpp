#include "player/ads/KXAdController.h"

#include <cstdint>

#include "model/KXDebugLog.h"
#include "model/classes/KXModelAssetCharacter.h"
#include "model/classes/KXModelObjectButtonPurchase.h"
#include "model/classes/KXModelQueries.h"
#include "model/classes/KXModelScreen.h"
#include "player/ads/KXAdAdMob.h"
#include "player/ads/KXAdAppLovin.h"
#include "player/ads/KXAdChartboost.h"
#include "player/ads/KXAdCustom.h"
#include "player/ads/KXAdFacebook.h"
#include "player/ads/KXAdHeyzap.h"
#include "player/ads/KXAdInMobi.h"
#include "player/ads/KXAdLeadBolt.h"
#include "player/ads/KXAdRevMob.h"
#include "player/ads/KXAdVungle.h"
#include "player/store/KXPSettingsController.h"

namespace {

enum Role { kBanner = 1, kInterstitial = 2, kRewardedVideo = 4 };

struct Network {
    const char* name;
    KXAdObject* (*instance)();
    int roles;
};

template <class T> KXAdObject* instanceOf() {
    return T::shared();
}

// Which network each name stands for, and in which roles it can be reached.
const Network kNetworks[] = {
    {"kAdMob", instanceOf<KXAdAdMob>, kBanner | kInterstitial},
    {"kChartboost", instanceOf<KXAdChartboost>, kInterstitial},
    {"kRevMob", instanceOf<KXAdRevMob>, kBanner | kInterstitial},
    {"kAppLovin", instanceOf<KXAdAppLovin>, kBanner | kInterstitial},
    {"kLeadBolt", instanceOf<KXAdLeadBolt>, kBanner | kInterstitial},
    {"kInMobi", instanceOf<KXAdInMobi>, kBanner | kInterstitial},
    {"kFacebook", instanceOf<KXAdFacebook>, kBanner | kInterstitial},
    {"kVungle", instanceOf<KXAdVungle>, kInterstitial},
    {"kHeyzap", instanceOf<KXAdHeyzap>, kBanner | kInterstitial | kRewardedVideo},
    {"kCustom", instanceOf<KXAdCustom>, kBanner | kInterstitial | kRewardedVideo},
};

// Names compare exactly, length included.
KXAdObject* networkFor(const std::string& name, int role) {
    for (const Network& network : kNetworks) {
        if ((network.roles & role) && name == network.name)
            return network.instance();
    }
    return nullptr;
}

KXAdController*& sharedSlot() {
    static KXAdController* controller = nullptr;
    return controller;
}

// A purchase button or character paid by a video through the game's own ad slot.
template <class T> void setUpCustomVideoSlots() {
    for (const auto& payer : getModels<T>()) {
        if (payer->purchaseMethod() == "kRewardedVideos" && payer->adNetwork() == "kCustom")
            KXAdCustom::shared()->setUp();
    }
}

} // namespace

KXAdController* KXAdController::shared() {
    if (!sharedSlot())
        sharedSlot() = new KXAdController();
    return sharedSlot();
}

void KXAdController::purgeShared() {
    delete sharedSlot();
    sharedSlot() = nullptr;
}

KXAdController::~KXAdController() {
    CC_SAFE_RELEASE(m_callbackTarget);
}

void KXAdController::init() {
    debugLog("[KXAdController] init Ad Networks");
    m_rewardedVideo = KXAdHeyzap::shared();
    m_rewardedVideo->setUp();

    const auto screens = getModels<KXModelScreen>();
    if (screens.empty() || KXPSettingsController::shared()->isRemoveAds())
        return;
    for (const auto& screen : screens) {
        const std::string& banner = screen->adBanner();
        const std::string& interstitial = screen->adInterstitial();
        auto either = [&](const char* name) { return banner == name || interstitial == name; };
        if (either("kCustom"))
            KXAdCustom::shared()->setUp();
        if (interstitial == "kChartboost")
            KXAdChartboost::shared()->setUp();
        if (interstitial == "kVungle")
            KXAdVungle::shared()->setUp();
        if (either("kInMobi"))
            KXAdInMobi::shared()->setUp();
        if (either("kAdMob"))
            KXAdAdMob::shared()->setUp();
        if (either("kRevMob"))
            KXAdRevMob::shared()->setUp();
        if (either("kFacebook"))
            KXAdFacebook::shared()->setUp();
        if (either("kAppLovin")) {
            KXAdAppLovin::shared()->setUp();
            KXAdRevMob::shared()->setUp();
        }
        // A LeadBolt banner alone needs no set-up.
        if (interstitial == "kLeadBolt")
            KXAdLeadBolt::shared()->setUp();
    }
    setUpCustomVideoSlots<KXModelObjectButtonPurchase>();
    setUpCustomVideoSlots<KXModelAssetCharacter>();
}

void KXAdController::showScreenAds(KXModelScreen& screen, bool& skipNextInterstitial) {
    if (KXPSettingsController::shared()->isRemoveAds())
        return;
    debugLog("[%s] banner: %s interstitial: %s", screen.key().c_str(), screen.adBanner().c_str(),
             screen.adInterstitial().c_str());
    // Counters saturate: a frequency beyond reach never shows, and never overflows.
    if (screen.bannerCounter < INT32_MAX)
        ++screen.bannerCounter;
    if (screen.adBannerFrequency() <= screen.bannerCounter) {
        screen.bannerCounter = 0;
        showBanner(screen.adBanner());
    }
    if (skipNextInterstitial) {
        skipNextInterstitial = false;
        return;
    }
    if (screen.interstitialCounter < INT32_MAX)
        ++screen.interstitialCounter;
    if (screen.adInterstitialsFrequency() <= screen.interstitialCounter) {
        screen.interstitialCounter = 0;
        showInterstitial(screen.adInterstitial());
    }
}

KXAdObject* KXAdController::bannerNetwork(const std::string& name) const {
    return networkFor(name, kBanner);
}

KXAdObject* KXAdController::interstitialNetwork(const std::string& name) const {
    return networkFor(name, kInterstitial);
}

KXAdObject* KXAdController::rewardedVideoNetwork(const std::string& name) const {
    return networkFor(name, kRewardedVideo);
}

void KXAdController::showBanner(const std::string& name) {
    if (KXAdObject* network = bannerNetwork(name)) {
        m_banner = network;
        m_banner->showBanner();
    } else if (m_banner) {
        m_banner->hideBanner();
        m_banner = nullptr;
    }
}

void KXAdController::hideBanner() {
    debugLog("[KXAdController] hide banner");
    if (m_banner)
        m_banner->hideBanner();
}

void KXAdController::showInterstitial(const std::string& name) {
    if (m_interstitial)
        m_interstitial->hideInterstitial();
    m_interstitial = interstitialNetwork(name);
    if (m_interstitial)
        m_interstitial->showInterstitial();
}

void KXAdController::hideInterstitial() {
    if (m_interstitial)
        m_interstitial->hideInterstitial();
}

bool KXAdController::isBannerShowing() const {
    return m_banner && m_banner->isBannerShowing();
}

bool KXAdController::isRewardedVideoAvailable(const std::string& name) {
    m_rewardedVideo = rewardedVideoNetwork(name);
    return m_rewardedVideo && m_rewardedVideo->isRewardedVideoAvailable();
}

void KXAdController::setRewardedVideoCallback(cocos2d::CCObject* target, cocos2d::SEL_CallFunc handler) {
    CC_SAFE_RETAIN(target);
    CC_SAFE_RELEASE(m_callbackTarget);
    m_callbackTarget = target;
    m_callbackHandler = handler;
}

void KXAdController::showRewardedVideo(const std::string& name) {
    m_rewardedVideo = rewardedVideoNetwork(name);
    if (m_rewardedVideo)
        m_rewardedVideo->showRewardedVideo();
}

void KXAdController::rewardedVideoFinished() {
    if (m_banner && m_banner->bannerVisible()) {
        debugLog("[KXAdController] Updating current banner");
        m_banner->hideBanner();
        m_banner->showBanner();
    }
    if (!m_callbackTarget || !m_callbackHandler)
        return;
    // The handler may store another callback; the target lives through the call.
    cocos2d::CCObject* target = m_callbackTarget;
    cocos2d::SEL_CallFunc handler = m_callbackHandler;
    target->retain();
    (target->*handler)();
    target->release();
}
