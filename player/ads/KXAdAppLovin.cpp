#include "player/ads/KXAdAppLovin.h"

KXAdAppLovin* KXAdAppLovin::shared() {
    static KXAdAppLovin* network = new KXAdAppLovin();
    return network;
}
