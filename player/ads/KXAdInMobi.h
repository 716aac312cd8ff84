#pragma once

#include "player/ads/KXAdObject.h"

// "kInMobi": banners and interstitials that show nothing here.
class KXAdInMobi : public KXAdObject {
public:
    // The process-wide instance, made on first use.
    static KXAdInMobi* shared();
};
