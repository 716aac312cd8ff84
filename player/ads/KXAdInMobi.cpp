#include "player/ads/KXAdInMobi.h"

KXAdInMobi* KXAdInMobi::shared() {
    static KXAdInMobi* network = new KXAdInMobi();
    return network;
}
