#pragma once

#include "player/ads/KXAdObject.h"

// "kFacebook": banners and interstitials, each only logged.
class KXAdFacebook : public KXAdObject {
public:
    // The process-wide instance, made on first use.
    static KXAdFacebook* shared();

    void showBanner() override;
    void hideBanner() override;
    void showInterstitial() override;
};
