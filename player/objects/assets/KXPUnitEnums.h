#pragma once

// The texts a unit model stores for its kinds and modes, and the numbers the unit works with.
// Exported games compare them by exact text; a text outside a table falls back to that table's
// default and is reported once per distinct text (units are copied often, the log stays short).

#include <string>

class KXPUnitEnums {
public:
    // "kPlatformObjectType" 1, "kEnemyObjectType" 2, "kDecorationObjectType" 3; else 0.
    static int objectKind(const std::string& text);
    // "kMovementLinear" true; else false.
    static bool isLinearMovement(const std::string& text);
    // "kNoCollision" 0, "kCharacterCollision" 1; else 0.
    static int collisionType(const std::string& text);
    // "kDestroyNo" 0, "kDestroyCollision" 1, "kDestroyEnemyCollision" 2, "kDestroyAllCollision" 3;
    // else 0.
    static int destroyMode(const std::string& text);
    // "kNoWakeup" 0, "kTimeBasedWakeup" 1, "kCollisionBasedWakeup" 2; else 0.
    static int wakeUpType(const std::string& text);
    // "kNoSleep" 0, "kDistanceBasedSleep" 1; else 0.
    static int sleepType(const std::string& text);

    // What a spawner does with its input; a text outside the table leaves a silent spawner.
    enum SpawnAction { kSpawnNever, kSpawnPermanent, kSpawnOnShoot, kSpawnOnJump, kSpawnOnShootKeepingTime };
    static SpawnAction spawnAction(const std::string& text);
};
