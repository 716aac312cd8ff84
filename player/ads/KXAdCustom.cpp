#include "player/ads/KXAdCustom.h"

#include "model/KXDebugLog.h"

KXAdCustom* KXAdCustom::shared() {
    static KXAdCustom* network = new KXAdCustom();
    return network;
}

bool KXAdCustom::hasButton(const std::string&) const {
    return true;
}

void KXAdCustom::buttonActivated(const std::string& name) {
    debugLog("Custom Button Activated: %s", name.c_str());
}
