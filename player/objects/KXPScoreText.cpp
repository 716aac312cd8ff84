#include "player/objects/KXPScoreText.h"

#include "model/classes/KXBaseModelObjectLabel.h"
#include "player/store/KXPScoreTable.h"

#include <cstdio>

namespace {

std::string wholeNumber(float value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.0f", static_cast<double>(value));
    return buffer;
}

// The figure of one kind of score: this game's, the best or the total. This game's amount of the
// global record (an empty key) is the sum over the named worlds.
template <typename T, typename Sum>
T pick(const KXPCurrencyValue<T>& value, const std::string& amount, bool global, Sum sumOfWorlds) {
    if (amount == KXPScoreText::kBest) {
        return value.best;
    }
    if (amount == KXPScoreText::kTotal) {
        return value.total;
    }
    return global ? sumOfWorlds() : value.session;
}

} // namespace

std::string KXPScoreText::text(const KXBaseModelObjectLabel& model) {
    const std::string& world = model.world();
    std::string key;
    KXPScoreRecord* record = nullptr;
    if (world == kCurrentWorld) {
        record = &currentWorldScores();
        key = "current";
    } else if (world == kGlobal) {
        record = &worldScores("");
    } else {
        record = &worldScores(world);
        key = world;
    }
    const bool global = key.empty();

    const std::string& type = model.scoreType();
    const std::string& amount = model.amount();
    if (type == kDistance) {
        return wholeNumber(pick(record->distance, amount, global, totalDistance));
    }
    if (type == kPoints) {
        return std::to_string(pick(record->points, amount, global, totalPoints));
    }
    return std::to_string(pick(record->coins, amount, global, totalCoins));
}
