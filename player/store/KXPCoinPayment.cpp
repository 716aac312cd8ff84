#include "player/store/KXPCoinPayment.h"

#include <cmath>

#include "model/KXNumeric.h"
#include "player/store/KXPScoreTable.h"

bool isCoinPrice(float price) {
    return !std::isnan(price) && price >= 0.0f;
}

bool payGlobalCoins(float price) {
    if (!isCoinPrice(price)) {
        return false;
    }
    KXPScoreCount& coins = worldScores("").coins;
    if (static_cast<float>(coins.total) < price) {
        return false;
    }
    coins.total -= kx::truncateToInt(price);
    if (coins.session > coins.total) {
        coins.session = coins.total;
    }
    coins.commit();
    return true;
}
