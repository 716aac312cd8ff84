#pragma once

#include "player/ads/KXAdObject.h"

// "kRevMob": banners and interstitials that show nothing here.
class KXAdRevMob : public KXAdObject {
public:
    // The process-wide instance, made on first use.
    static KXAdRevMob* shared();
};
