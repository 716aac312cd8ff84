#pragma once

// The score a score label shows: which world's record ("World"), which figure ("Score Type":
// distance, points or coins) and which amount ("Amount": this game's, the best, the total),
// chosen afresh on every frame, as text.

#include <string>

class KXBaseModelObjectLabel;

class KXPScoreText {
public:
    static constexpr const char* kCurrentWorld = "kCurrentWorld";
    static constexpr const char* kGlobal = "kGlobal";
    static constexpr const char* kDistance = "kScoreDistance";
    static constexpr const char* kPoints = "kScorePoints";
    static constexpr const char* kBest = "kScoreBest";
    static constexpr const char* kTotal = "kScoreTotal";

    // Distance as a whole number, points and coins as integers. Naming a world that has no record
    // yet adds an empty one. This game's amount of the global record is the sum over the named
    // worlds.
    static std::string text(const KXBaseModelObjectLabel& model);
};
