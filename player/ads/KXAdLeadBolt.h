#pragma once

#include "player/ads/KXAdObject.h"

// "kLeadBolt": banners and interstitials that show nothing here.
class KXAdLeadBolt : public KXAdObject {
public:
    // The process-wide instance, made on first use.
    static KXAdLeadBolt* shared();

    void hideInterstitial() override;
};
