#include "player/ads/KXAdAdMob.h"

#include "model/KXDebugLog.h"

KXAdAdMob* KXAdAdMob::shared() {
    static KXAdAdMob* network = new KXAdAdMob();
    return network;
}

void KXAdAdMob::showBanner() {
    debugLog("[KXAdAdMob] show banner");
}

void KXAdAdMob::hideBanner() {
    debugLog("[KXAdAdMob] hide banner");
}

void KXAdAdMob::showInterstitial() {
    debugLog("[KXAdAdMob] show interstitial");
}
