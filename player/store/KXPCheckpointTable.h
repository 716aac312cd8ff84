#pragma once

// The process-wide checkpoint table: where each world's last checkpoint was taken. It outlives
// the settings controller, which stores it as text under "PKX_Checkpoints".

#include "cocos2d.h"

#include <cstdint>
#include <string>
#include <unordered_map>

struct KXPCheckpointRecord {
    // No checkpoint in the world yet; stored as -1.
    static constexpr uint32_t kNoLevelSection = UINT32_MAX;

    cocos2d::CCPoint position;                 // where the characters stood
    cocos2d::CCPoint cameraOffset;             // the object layer's position to restore
    float distance = 0.0f;                     // where the checkpoint's level section was laid
    uint32_t levelSectionId = kNoLevelSection; // the checkpoint's level section
};

using KXPCheckpointMap = std::unordered_map<std::string, KXPCheckpointRecord>;

KXPCheckpointMap& checkpointTable();

// The record of that screen key, inserted fresh when missing.
KXPCheckpointRecord& checkpointRecord(const std::string& screenKey);
// The record of the screens controller's current scene key; null while that key is empty.
KXPCheckpointRecord* currentCheckpoint();

void clearCheckpoints();
// Replaces the table from its text; missing numbers keep the fresh record's values.
void parseCheckpoints(const std::string& text);
std::string serializeCheckpoints();
