#pragma once

// The player's progress and preferences, kept between runs in the engine's user-default store.
// This part holds the scalar preferences; the stored tables follow in the same class.

#include "cocos2d.h"

#include <cstdint>

class KXPSettingsController : public cocos2d::CCObject {
public:
    // The single instance, made on first use; never null.
    static KXPSettingsController* shared();
    // Deletes the instance; the next shared() makes a fresh one.
    static void purgeShared();

    KXPSettingsController();
    ~KXPSettingsController() override;
    KXPSettingsController(const KXPSettingsController&) = delete;
    KXPSettingsController& operator=(const KXPSettingsController&) = delete;

    // Reads the stored preferences; keys the store lacks read as 0 or false.
    virtual void load();

    // Index into the list of character assets; may be anything the store held, negative too.
    int selectedCharacter() const { return m_selectedCharacter; }
    void setSelectedCharacter(int index) { m_selectedCharacter = index; }
    bool isRemoveAds() const { return m_removeAds; }
    void setRemoveAds(bool removeAds) { m_removeAds = removeAds; }
    bool isFullscreen() const { return m_fullscreen; }
    void setFullscreen(bool fullscreen) { m_fullscreen = fullscreen; }
    bool isSlowLoading() const { return m_slowLoading; }
    void setSlowLoading(bool slowLoading) { m_slowLoading = slowLoading; }

    // Read and written directly by the sound code.
    bool muteEffects = false;
    bool muteBackground = false;

    static constexpr const char* kSelectedCharacterKey = "KXP_selectedCharacter";
    static constexpr const char* kRemoveAdsKey = "KXP_removeAds";
    static constexpr const char* kFullscreenKey = "KXP_fullscreen";
    static constexpr const char* kMuteEffectsKey = "KXP_muteEffectsSound";
    static constexpr const char* kMuteBackgroundKey = "KXP_muteBackgroundSound";

private:
    bool m_removeAds = false;
    bool m_slowLoading = false;
    bool m_fullscreen = false;
    int32_t m_selectedCharacter = 0;
};

// How long the game field waits after the selected character is defeated (see
// characterGameOverDelay); a stored index outside the character list gives 1.0.
float selectedCharacterGameOverDelay();
