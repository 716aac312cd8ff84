#include "player/ads/KXAdLeadBolt.h"

KXAdLeadBolt* KXAdLeadBolt::shared() {
    static KXAdLeadBolt* network = new KXAdLeadBolt();
    return network;
}

void KXAdLeadBolt::hideInterstitial() {
    setInterstitialVisible(false);
}
