#pragma once

// Makes a screen's sound buttons ("kMuteAllSound", "kMuteSoundEffects", "kMuteBackgroundMusic")
// switch the two mute preferences and show them: a button looks selected ("Sound is OFF") while
// the sound it controls is muted. One per screen; it lives as long as its screen.

#include <memory>
#include <string>
#include <vector>

#include "cocos2d.h"

class KXModelSound;
class KXSoundControllerHost;

class KXSoundController : public cocos2d::CCObject {
public:
    static constexpr const char* kMuteAllAction = "kMuteAllSound";
    static constexpr const char* kMuteEffectsAction = "kMuteSoundEffects";
    static constexpr const char* kMuteMusicAction = "kMuteBackgroundMusic";

    // The screen is not owned; it may be null (then nothing is wired and no screen music plays).
    explicit KXSoundController(KXSoundControllerHost* screen);
    ~KXSoundController() override;
    KXSoundController(const KXSoundController&) = delete;
    KXSoundController& operator=(const KXSoundController&) = delete;

    // Finds the screen's sound buttons, binds them to the toggles and shows the mute state.
    void setUp();

    // Button handlers.
    void toggleAll(cocos2d::CCObject* sender);
    void toggleMusic(cocos2d::CCObject* sender);
    void toggleEffects(cocos2d::CCObject* sender);

    // None of these saves: the flags reach the store with the next save of the settings.
    void muteMusic();
    void unmuteMusic();
    void muteEffects();
    void unmuteEffects();
    // Mute-all buttons look selected exactly when both kinds are muted.
    void refreshAllButtons();

    // The track that sounded when music was last muted, replayed on unmute.
    const std::shared_ptr<KXModelSound>& rememberedMusic() const { return m_rememberedMusic; }

private:
    using ButtonList = std::vector<cocos2d::CCMenuItem*>;

    void takeButtons(ButtonList& list, const char* action, cocos2d::SEL_MenuHandler handler);
    static void showMuted(const ButtonList& list, bool muted);
    static void releaseButtons(ButtonList& list);
    // A new auto-delete interface sound for the track, played as music.
    static void playMusic(const std::shared_ptr<KXModelSound>& sound, bool loop);
    static bool isMusicPlaying();

    KXSoundControllerHost* m_screen = nullptr;
    ButtonList m_allButtons;
    ButtonList m_effectButtons;
    ButtonList m_musicButtons;
    std::shared_ptr<KXModelSound> m_rememberedMusic;
    bool m_rememberedLooping = false;
};
