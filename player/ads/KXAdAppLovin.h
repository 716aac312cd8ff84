#pragma once

#include "player/ads/KXAdObject.h"

// "kAppLovin": banners and interstitials that show nothing here.
class KXAdAppLovin : public KXAdObject {
public:
    // The process-wide instance, made on first use.
    static KXAdAppLovin* shared();
};
