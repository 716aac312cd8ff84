#pragma once

#include "player/ads/KXAdObject.h"

// "kVungle": reached only as an interstitial network; its own video answer is "watched".
class KXAdVungle : public KXAdObject {
public:
    // The process-wide instance, made on first use.
    static KXAdVungle* shared();

    // With no video service, a video counts as watched at once: the rewarded-video callback
    // runs before this returns.
    void showRewardedVideo() override;
    bool isRewardedVideoAvailable() override { return true; }
};
