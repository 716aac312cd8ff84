#include "player/ads/KXAdFacebook.h"

#include "model/KXDebugLog.h"

KXAdFacebook* KXAdFacebook::shared() {
    static KXAdFacebook* network = new KXAdFacebook();
    return network;
}

void KXAdFacebook::showBanner() {
    debugLog("[KXAdFacebook] show banner");
}

void KXAdFacebook::hideBanner() {
    debugLog("[KXAdFacebook] hide banner");
}

void KXAdFacebook::showInterstitial() {
    debugLog("[KXAdFacebook] show interstitial");
}
