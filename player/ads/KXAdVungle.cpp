#include "player/ads/KXAdVungle.h"

#include "player/ads/KXAdController.h"

KXAdVungle* KXAdVungle::shared() {
    static KXAdVungle* network = new KXAdVungle();
    return network;
}

void KXAdVungle::showRewardedVideo() {
    KXAdController::shared()->rewardedVideoFinished();
}
