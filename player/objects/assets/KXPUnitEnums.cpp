#include "player/objects/assets/KXPUnitEnums.h"

#include "model/KXDebugLog.h"

#include <set>
#include <utility>

namespace {

struct Entry {
    const char* text;
    int value;
};

// Texts the editor writes that mean the table's default on purpose: no report for them.
struct Table {
    const char* field;
    const Entry* entries;
    size_t count;
    int fallback;
};

template <size_t N> constexpr Table table(const char* field, const Entry (&entries)[N], int fallback) {
    return Table{field, entries, N, fallback};
}

// An empty text is an unset attribute (units made at run time leave some empty): no report.
int lookUp(const Table& table, const std::string& text) {
    for (size_t index = 0; index < table.count; ++index) {
        if (text == table.entries[index].text) {
            return table.entries[index].value;
        }
    }
    if (!text.empty()) {
        static std::set<std::pair<std::string, std::string>> reported;
        if (reported.emplace(table.field, text).second) {
            debugLog("[KXPObjectAssetUnit] unknown %s \"%s\", using %d", table.field, text.c_str(),
                     table.fallback);
        }
    }
    return table.fallback;
}

// The other kinds of the editor's list have no number of their own.
constexpr Entry kObjectKinds[] = {
    {"kPlatformObjectType", 1}, {"kEnemyObjectType", 2},  {"kDecorationObjectType", 3},
    {"kPhysicsObjectType", 0},  {"kBulletObjectType", 0}, {"kBulletCharacterObjectType", 0},
    {"kWheelObjectType", 0},
};
constexpr Entry kMovements[] = {{"kMovementLinear", 1}, {"kMovementPhysics", 0}};
constexpr Entry kCollisions[] = {{"kNoCollision", 0}, {"kCharacterCollision", 1}};
constexpr Entry kDestroyModes[] = {
    {"kDestroyNo", 0},
    {"kDestroyCollision", 1},
    {"kDestroyEnemyCollision", 2},
    {"kDestroyAllCollision", 3},
};
constexpr Entry kWakeUps[] = {{"kNoWakeup", 0}, {"kTimeBasedWakeup", 1}, {"kCollisionBasedWakeup", 2}};
constexpr Entry kSleeps[] = {{"kNoSleep", 0}, {"kDistanceBasedSleep", 1}};
constexpr Entry kSpawnActions[] = {
    {"kPermanentSpawning", KXPUnitEnums::kSpawnPermanent},
    {"kShootingSpawning", KXPUnitEnums::kSpawnOnShoot},
    {"kJumpingSpawning", KXPUnitEnums::kSpawnOnJump},
    {"kNonResetShootingSpawning", KXPUnitEnums::kSpawnOnShootKeepingTime},
};

} // namespace

int KXPUnitEnums::objectKind(const std::string& text) {
    return lookUp(table("Object Type", kObjectKinds, 0), text);
}

bool KXPUnitEnums::isLinearMovement(const std::string& text) {
    return lookUp(table("Movement Type", kMovements, 0), text) != 0;
}

int KXPUnitEnums::collisionType(const std::string& text) {
    return lookUp(table("Collision Type", kCollisions, 0), text);
}

int KXPUnitEnums::destroyMode(const std::string& text) {
    return lookUp(table("Destroy Type", kDestroyModes, 0), text);
}

int KXPUnitEnums::wakeUpType(const std::string& text) {
    return lookUp(table("Wake Up", kWakeUps, 0), text);
}

int KXPUnitEnums::sleepType(const std::string& text) {
    return lookUp(table("Sleep", kSleeps, 0), text);
}

KXPUnitEnums::SpawnAction KXPUnitEnums::spawnAction(const std::string& text) {
    return static_cast<SpawnAction>(lookUp(table("Spawn Action", kSpawnActions, kSpawnNever), text));
}
