#pragma once

// One ad network as the ad controller sees it. No network has an ad service behind it on this
// platform: showing and hiding log a line or do nothing, banners and interstitials are never
// drawn. The base does nothing and answers false.

class KXAdObject {
public:
    virtual ~KXAdObject() = default;

    // Called once per screen (or button, or character) of the game that names the network;
    // harmless when repeated. Counted, so that what a game sets up can be told.
    void setUp() {
        ++m_setUps;
        didSetUp();
    }
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

    // How often the network was set up since the last clear.
    int setUps() const { return m_setUps; }
    void clearSetUps() { m_setUps = 0; }

protected:
    KXAdObject() = default;
    // What the network does when set up: nothing in most.
    virtual void didSetUp() {}

private:
    int m_setUps = 0;
    bool m_bannerVisible = false;
    bool m_interstitialVisible = false;
};
