#include "player/ads/KXAdChartboost.h"

KXAdChartboost* KXAdChartboost::shared() {
    static KXAdChartboost* network = new KXAdChartboost();
    return network;
}
