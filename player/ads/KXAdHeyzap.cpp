#include "player/ads/KXAdHeyzap.h"

#include "player/ads/KXAdController.h"

KXAdHeyzap* KXAdHeyzap::shared() {
    static KXAdHeyzap* network = new KXAdHeyzap();
    return network;
}

void KXAdHeyzap::showRewardedVideo() {
    KXAdController::shared()->rewardedVideoFinished();
}
