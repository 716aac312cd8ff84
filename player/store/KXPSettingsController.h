#pragma once

// The player's progress and preferences, kept between runs in the engine's user-default store:
// refill timers, inventory, unlocked characters, the stored preferences, play counters, and the
// score, lock-state and checkpoint tables as texts. Nothing is written before the staged loading
// has finished.

#include "cocos2d.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>

class KXModelAssetPowerup;

class KXPSettingsController : public cocos2d::CCObject {
public:
    // A running refill: one more use is granted each `period` seconds from `start` while the
    // inventory stays below `count`.
    struct RefillRecord {
        int64_t start = 0;
        int32_t period = 0;
        uint32_t powerupId = 0;
        int32_t count = 0;
    };

    // The single instance, made on first use (reset without purge); never null.
    static KXPSettingsController* shared();
    // Deletes the instance; the next shared() makes a fresh one.
    static void purgeShared();

    // The seconds since 1970 that the refill timers read (the player's clock, KXPClock.h).
    static int64_t now();

    KXPSettingsController();
    ~KXPSettingsController() override;
    KXPSettingsController(const KXPSettingsController&) = delete;
    KXPSettingsController& operator=(const KXPSettingsController&) = delete;

    // Writes everything to the store and flushes it; refused (logged) before loading finished.
    virtual void save();
    // Reads everything the store holds; keys it lacks leave the values in memory as they are.
    virtual void load();
    // Characters back to their purchase-method defaults, no selection, no refills, the default
    // inventory; with `purge` the store's file is deleted as well. Flags and tables stay.
    void reset(bool purge);

    // The refill timers, once a second.
    void update(float dt) override;

    // --- characters (index into the list of character assets) ---
    // Without a stored entry: unlocked when that character is free (and stored so from now on).
    bool isCharacterUnlocked(uint32_t index);
    void unlockCharacter(uint32_t index);
    // May be anything the store held, negative too.
    int selectedCharacter() const { return m_selectedCharacter; }
    void setSelectedCharacter(int index) { m_selectedCharacter = index; }

    // --- inventory of powerups; an empty model reads 0 and is not stored ---
    int inventoryCount(const std::shared_ptr<KXModelAssetPowerup>& powerup);
    void setInventoryCount(const std::shared_ptr<KXModelAssetPowerup>& powerup, int count);
    int inventoryCount(uint32_t powerupId);
    void setInventoryCount(uint32_t powerupId, int count);
    // Each powerup button of a screen with a refill maximum fills its powerup up to it.
    void loadInventoryMap();

    // --- refill timers ---
    // Starts one unless one runs for that powerup or its inventory already reaches `count`.
    void startRefill(uint32_t powerupId, int minutes, int count);
    // Seconds until the next use is granted, 0 without a timer; kept within 0..period even when
    // the clock was set back.
    int refillTimeLeft(uint32_t powerupId) const;
    const std::map<uint32_t, RefillRecord>& refillRecords() const { return m_refills; }

    // --- play counters, written to the store at once ---
    int screenPlayedCount(const std::string& screenKey);
    void increaseScreenPlayedCount(const std::string& screenKey);

    bool isRemoveAds() const { return m_removeAds; }
    void setRemoveAds(bool removeAds) { m_removeAds = removeAds; }
    bool isFullscreen() const { return m_fullscreen; }
    void setFullscreen(bool fullscreen) { m_fullscreen = fullscreen; }
    bool isSlowLoading() const { return m_slowLoading; }
    void setSlowLoading(bool slowLoading) { m_slowLoading = slowLoading; }

    // Read and written directly by the sound code.
    bool muteEffects = false;
    bool muteBackground = false;

    static constexpr const char* kVersionKey = "ZD_Version";
    static constexpr const char* kScoresKey = "KXP_Scores";
    static constexpr const char* kLockStatesKey = "KXP_LockStates";
    static constexpr const char* kCheckpointsKey = "PKX_Checkpoints";
    static constexpr const char* kRefillCountKey = "KXP_RefillPowerup_count";
    static constexpr const char* kRefillKeyFormat = "KXP_RefillPowerup_%d";
    static constexpr const char* kInventoryCountKey = "KXP_Inventory_count";
    static constexpr const char* kInventoryKeyFormat = "KXP_Inventory_%d";
    static constexpr const char* kCharactersCountKey = "KXP_Characters_count";
    static constexpr const char* kCharacterKeyFormat = "KXP_Character_%d";
    static constexpr const char* kSelectedCharacterKey = "KXP_selectedCharacter";
    static constexpr const char* kRemoveAdsKey = "KXP_removeAds";
    static constexpr const char* kFullscreenKey = "KXP_fullscreen";
    static constexpr const char* kMuteEffectsKey = "KXP_muteEffectsSound";
    static constexpr const char* kMuteBackgroundKey = "KXP_muteBackgroundSound";
    static constexpr const char* kScreenPlayedPrefix = "ScreenPlayed-";

private:
    void loadRefills();
    void loadInventory();
    void loadCharacters();

    std::map<uint32_t, RefillRecord> m_refills;
    std::map<uint32_t, int32_t> m_inventory;
    std::map<uint32_t, bool> m_characters;
    bool m_removeAds = false;
    bool m_slowLoading = false;
    bool m_fullscreen = false;
    int32_t m_selectedCharacter = 0;
};

// How long the game field waits after the selected character is defeated (see
// characterGameOverDelay); a stored index outside the character list gives 1.0.
float selectedCharacterGameOverDelay();
