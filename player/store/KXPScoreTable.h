#pragma once

// The process-wide score table: one record per world name, the empty name being the global
// record. It outlives the settings controller, which stores it as text under "KXP_Scores".

#include "player/store/KXPScoreRecord.h"

#include <cstdint>
#include <map>
#include <string>

using KXPScoreMap = std::map<std::string, KXPScoreRecord>;

// The table itself (references to its records stay valid until the record is erased).
KXPScoreMap& scoreTable();

// The record of that world, inserted zeroed when missing; "" is the global record.
KXPScoreRecord& worldScores(const std::string& worldKey);
// The record of the screens controller's current scene key.
KXPScoreRecord& currentWorldScores();

// Sums of the session values over every named world (the global record is not counted). The
// integer sums are taken in 64 bits and clamped to the 32-bit range.
float totalDistance();
int32_t totalPoints();
int32_t totalCoins();

// For every record and each chosen figure: session := 0, with `full` also best and total; the
// zero session is committed. Nothing when no figure is chosen.
void resetScores(bool distance, bool points, bool coins, bool full);

// Empties the table.
void clearScores();

// Replaces the table from its text. A version text chooses the current form, none the older one
// (which switches to the current form itself when the text is not of the older form). Unless
// `fresh`, the session values of the records in memory survive and raise best and total.
void parseScores(const std::string& versionText, const std::string& text, bool fresh);
std::string serializeScores();

// The name under which the global record is written.
constexpr const char* kGlobalScoreName = "<kxp_score_global>";
