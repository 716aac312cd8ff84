#pragma once

#include "player/ads/KXAdObject.h"

// "kHeyzap": the rewarded-video network; a video counts as watched at once.
class KXAdHeyzap : public KXAdObject {
public:
    // The process-wide instance, made on first use.
    static KXAdHeyzap* shared();

    // With no video service, a video counts as watched at once: the rewarded-video callback
    // runs before this returns.
    void showRewardedVideo() override;
    bool isRewardedVideoAvailable() override { return true; }
};
