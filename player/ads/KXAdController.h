#pragma once

// Turns the ad-network names of the exported game into network objects, sets the networks up
// once loading has finished, shows and hides banners and interstitials for the screens and plays
// rewarded videos, calling back whoever asked once a video is done. Main thread only.

#include <string>

#include "cocos2d.h"

class KXAdObject;
class KXModelScreen;

class KXAdController {
public:
    static KXAdController* shared();
    // A fresh controller at the next shared(); the network objects stay. For tests.
    static void purgeShared();

    // Sets up the networks that the loaded screens, purchase buttons and characters name.
    void init();

    // A screen's ads as it opens or shows again: counts the screen model's banner and
    // interstitial requests and shows each when its count reaches the model's frequency (0 and 1
    // show every time). A set skip flag is cleared and skips one interstitial, uncounted. Nothing
    // while ads are removed.
    void showScreenAds(KXModelScreen& screen, bool& skipNextInterstitial);

    // The network of that exact name when it can serve the role, else null.
    KXAdObject* bannerNetwork(const std::string& name) const;
    KXAdObject* interstitialNetwork(const std::string& name) const;
    KXAdObject* rewardedVideoNetwork(const std::string& name) const;

    // A name that serves no banner hides the current banner and forgets it.
    void showBanner(const std::string& name);
    void hideBanner();
    void showInterstitial(const std::string& name);
    void hideInterstitial();
    bool isBannerShowing() const;
    // Also selects the rewarded-video network for that name.
    bool isRewardedVideoAvailable(const std::string& name);
    // Called without arguments when a video was watched; stays stored until replaced. The
    // target is kept alive while it is stored.
    void setRewardedVideoCallback(cocos2d::CCObject* target, cocos2d::SEL_CallFunc handler);
    void showRewardedVideo(const std::string& name);
    // Networks call this when a rewarded video has been watched.
    void rewardedVideoFinished();

    KXAdObject* currentBannerNetwork() const { return m_banner; }
    KXAdObject* currentInterstitialNetwork() const { return m_interstitial; }
    KXAdObject* currentRewardedVideoNetwork() const { return m_rewardedVideo; }

private:
    KXAdController() = default;
    ~KXAdController();

    KXAdObject* m_banner = nullptr;
    KXAdObject* m_interstitial = nullptr;
    KXAdObject* m_rewardedVideo = nullptr;
    cocos2d::CCObject* m_callbackTarget = nullptr;
    cocos2d::SEL_CallFunc m_callbackHandler = nullptr;
};
