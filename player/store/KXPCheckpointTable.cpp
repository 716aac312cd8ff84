#include "player/store/KXPCheckpointTable.h"

#include "player/store/KXPSceneKey.h"
#include "player/store/KXPTableText.h"

#include <sstream>

KXPCheckpointMap& checkpointTable() {
    // Made on first use and never destroyed: objects released late at exit may still read it.
    static KXPCheckpointMap* table = new KXPCheckpointMap();
    return *table;
}

KXPCheckpointRecord& checkpointRecord(const std::string& screenKey) {
    return checkpointTable()[screenKey];
}

KXPCheckpointRecord* currentCheckpoint() {
    const std::string& key = runningSceneKey();
    return key.empty() ? nullptr : &checkpointRecord(key);
}

void clearCheckpoints() {
    checkpointTable().clear();
}

void parseCheckpoints(const std::string& text) {
    KXPCheckpointMap& table = checkpointTable();
    table.clear();
    for (const std::string& item : kx::splitTableItems(text)) {
        kx::TableItem parts = kx::splitTableItem(item);
        if (parts.name.empty() || table.count(parts.name) != 0) {
            continue;
        }
        KXPCheckpointRecord record;
        std::istringstream in(parts.values);
        kx::prepareTableStream(in);
        long long levelSectionId = 0;
        in >> record.position.x >> record.position.y >> record.cameraOffset.x >> record.cameraOffset.y >>
            record.distance >> levelSectionId;
        // Ids past INT_MAX are stored as negative numbers, and some saves wrote them unsigned: both
        // are the same 32 bits.
        if (in && levelSectionId >= INT32_MIN && levelSectionId <= UINT32_MAX) {
            record.levelSectionId = static_cast<uint32_t>(levelSectionId);
        }
        table.emplace(parts.name, record);
    }
}

std::string serializeCheckpoints() {
    std::ostringstream out;
    kx::prepareTableStream(out);
    bool first = true;
    for (const auto& entry : checkpointTable()) {
        if (!first) {
            out << ';';
        }
        first = false;
        const KXPCheckpointRecord& record = entry.second;
        out << kx::escapeTableName(entry.first) << ':' << record.position.x << ' ' << record.position.y << ' '
            << record.cameraOffset.x << ' ' << record.cameraOffset.y << ' ' << record.distance
            << ' '
            // The id as a signed 32-bit number, as the store has always held it (no section: -1).
            << static_cast<int32_t>(record.levelSectionId);
    }
    return out.str();
}
