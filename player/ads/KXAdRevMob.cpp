#include "player/ads/KXAdRevMob.h"

KXAdRevMob* KXAdRevMob::shared() {
    static KXAdRevMob* network = new KXAdRevMob();
    return network;
}
