#pragma once

// One ad network as the ad controller sees it. No network has an ad service behind it on this
// platform: showing and hiding log a line or do nothing, banners and interstitials are never
// drawn. The base does nothing and answers false.

class KXAdObject {
public:
    virtual ~KXAdObject() = default;

    // Called once per screen (or button, or character) of the game that names the network;
    // harmless when repeated.
    virtual void setUp() {}
    virtual void showBanner() {}
    virtual void hideBanner() {}
    virtual void showInterstitial() {}
    virtual void hideInterstitial() {}
    virtual void showRewardedVideo() {}
    virtual bool isBannerShowing() { return false; }
    virtual bool isRewardedVideoAvailable() { return false; }

    // No operation of this platform sets these; the controller reads the banner flag.
    bool bannerVisible() const { return m_bannerVisible; }
    void setBannerVisible(bool visible) { m_bannerVisible = visible; }
    bool interstitialVisible() const { return m_interstitialVisible; }
    void setInterstitialVisible(bool visible) { m_interstitialVisible = visible; }

protected:
    KXAdObject() = default;

private:
    bool m_bannerVisible = false;
    bool m_interstitialVisible = false;
};
