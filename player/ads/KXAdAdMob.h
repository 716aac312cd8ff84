#pragma once

#include "player/ads/KXAdObject.h"

// "kAdMob": banners and interstitials, each only logged.
class KXAdAdMob : public KXAdObject {
public:
    // The process-wide instance, made on first use.
    static KXAdAdMob* shared();

    void showBanner() override;
    void hideBanner() override;
    void showInterstitial() override;
};
