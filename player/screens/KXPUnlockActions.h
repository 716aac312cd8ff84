#pragma once

// What an unlocker object of a screen does when the screen is built: it has no node of its own,
// it unlocks a scene (the lock buttons that lead to it) or a character. Typical use: the screen
// at the end of a level unlocks the next level; a reward screen unlocks a character.

class KXModelObjectUnlocker;

class KXPUnlockActions {
public:
    static constexpr const char* kSceneUnlock = "kButtonUnlock";
    static constexpr const char* kCharacterUnlock = "kCharacterUnlock";
    static constexpr const char* kUnlockCurrent = "kUnlockCurrent";
    static constexpr const char* kUnlockNext = "kUnlockNext";
    static constexpr const char* kSceneDestination = "kSceneDestination";

    // Both actions in the order a screen runs them: the character, then the scene.
    static void run(const KXModelObjectUnlocker& unlocker);

    // "kButtonUnlock": "Object" names a lock-state entry to unlock, or with "kUnlockCurrent" /
    // "kUnlockNext" the level section the running level started from / the one after it, whose
    // lock buttons are then unlocked. The table is written at the next save.
    static void unlockScene(const KXModelObjectUnlocker& unlocker);
    // "kCharacterUnlock": every character asset named "Object" is unlocked and saved.
    static void unlockCharacter(const KXModelObjectUnlocker& unlocker);
};
