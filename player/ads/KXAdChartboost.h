#pragma once

#include "player/ads/KXAdObject.h"

// "kChartboost": an interstitial network that shows nothing here.
class KXAdChartboost : public KXAdObject {
public:
    // The process-wide instance, made on first use.
    static KXAdChartboost* shared();
};
