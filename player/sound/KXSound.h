#pragma once

// One playable sound of the game: background music through the music engine (one track at a
// time) or an effect through the effect engine (any number at once). Every live sound stands in
// a process-wide list, so that screens can pause, resume and stop whole groups of sounds; one of
// them may be the current music. Playing honours the two mute preferences of the settings.

#include <functional>
#include <memory>
#include <vector>

class KXModelSound;

class KXSound {
public:
    enum State { kStopped = 0, kPlaying = 1, kPaused = 2 };

    // Screen music, interface and button sounds.
    static constexpr int kInterfaceGroup = 0;
    // Sounds of game-field objects: paused and resumed with the game, stopped on screen changes.
    static constexpr int kGameObjectGroup = 1;
    // The group operations take 0 as "every group".
    static constexpr int kEveryGroup = 0;

    // Joins the list of live sounds. A sound is owned by whoever made it, or by itself once
    // marked auto-delete.
    KXSound(std::shared_ptr<KXModelSound> model, int group);
    ~KXSound();
    KXSound(const KXSound&) = delete;
    KXSound& operator=(const KXSound&) = delete;

    // Starts the sound from its beginning; a new effect instance cuts the previous one. Nothing
    // happens while that kind of sound is muted. An auto-delete sound that does not start
    // (muted, missing or unplayable file) deletes itself on the next frame, never inside play.
    void play(bool loop, bool music);
    // Stops at once; an auto-delete sound deletes itself here.
    void stop();
    // A looping effect ends after its current pass (and then deletes itself when auto-delete).
    void stopLooping();
    // Volumes reach only a playing or paused effect, or the current music.
    void setVolume(float volume);
    float getVolume() const;
    bool isLooping() const;

    int group() const { return m_group; }
    int state() const { return m_state; }
    int effectId() const { return m_effectId; }
    bool isAutoDelete() const { return m_autoDelete; }
    void setAutoDelete(bool autoDelete) { m_autoDelete = autoDelete; }
    const std::shared_ptr<KXModelSound>& model() const { return m_model; }
    // Called by the destructor, whoever deletes the sound; for owners that keep a pointer.
    void setReleaseHook(std::function<void()> hook) { m_releaseHook = std::move(hook); }

    // Over the live sounds of a group (0: every group): playing ones pause, paused ones resume.
    static void pauseGroup(int group);
    static void resumeGroup(int group);
    // Stops the group's sounds; with deleteAll also deletes those that would not delete
    // themselves.
    static void stopGroup(int group, bool deleteAll);
    // Stops every playing or paused effect through its sound, so that states stay true and
    // auto-delete effects end their life.
    static void stopAllEffects();

    // In order of creation.
    static const std::vector<KXSound*>& liveSounds();
    static KXSound* currentMusic();

private:
    // The effect engine reports the end of a non-looping instance.
    void installFinishCallback();
    void effectFinished(int effectId);
    bool isCurrentMusic() const;

    std::shared_ptr<KXModelSound> m_model;
    int m_group = 0;
    int m_effectId = -1;
    int m_state = kStopped;
    bool m_autoDelete = false;
    bool m_looping = false;
    std::function<void()> m_releaseHook;
};
