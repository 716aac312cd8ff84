#include "player/sound/KXSoundController.h"

#include "AudioEngine.h"
#include "SimpleAudioEngine.h"
#include "model/classes/KXModelQueries.h"
#include "model/classes/KXModelScreen.h"
#include "model/classes/KXModelSound.h"
#include "player/sound/KXSound.h"
#include "player/sound/KXSoundControllerHost.h"
#include "player/store/KXPSettingsController.h"

using namespace cocos2d;

namespace {

KXPSettingsController* settings() {
    return KXPSettingsController::shared();
}

bool bothMuted() {
    return settings()->muteEffects && settings()->muteBackground;
}

} // namespace

KXSoundController::KXSoundController(KXSoundControllerHost* screen) : m_screen(screen) {}

KXSoundController::~KXSoundController() {
    releaseButtons(m_allButtons);
    releaseButtons(m_effectButtons);
    releaseButtons(m_musicButtons);
}

void KXSoundController::releaseButtons(ButtonList& list) {
    // A button that outlives its screen must not call into a deleted controller.
    for (CCMenuItem* button : list) {
        button->setTarget(nullptr, nullptr);
        button->release();
    }
    list.clear();
}

void KXSoundController::takeButtons(ButtonList& list, const char* action, SEL_MenuHandler handler) {
    releaseButtons(list);
    if (!m_screen)
        return;
    for (CCMenuItem* button : m_screen->menuItemsWithAction(action)) {
        if (!button)
            continue;
        button->retain();
        button->setTarget(this, handler);
        list.push_back(button);
    }
}

void KXSoundController::showMuted(const ButtonList& list, bool muted) {
    for (CCMenuItem* button : list) {
        if (muted)
            button->selected();
        else
            button->unselected();
    }
}

void KXSoundController::setUp() {
    const bool effectsMuted = settings()->muteEffects;
    const bool musicMuted = settings()->muteBackground;
    takeButtons(m_allButtons, kMuteAllAction, menu_selector(KXSoundController::toggleAll));
    takeButtons(m_effectButtons, kMuteEffectsAction, menu_selector(KXSoundController::toggleEffects));
    takeButtons(m_musicButtons, kMuteMusicAction, menu_selector(KXSoundController::toggleMusic));
    // Buttons start in their normal look; only the muted ones change.
    if (effectsMuted && musicMuted)
        showMuted(m_allButtons, true);
    if (effectsMuted)
        showMuted(m_effectButtons, true);
    if (musicMuted)
        showMuted(m_musicButtons, true);
}

void KXSoundController::refreshAllButtons() {
    showMuted(m_allButtons, bothMuted());
}

void KXSoundController::toggleAll(CCObject*) {
    if (bothMuted()) {
        unmuteEffects();
        unmuteMusic();
    } else {
        muteEffects();
        muteMusic();
    }
}

void KXSoundController::toggleMusic(CCObject*) {
    if (settings()->muteBackground)
        unmuteMusic();
    else
        muteMusic();
}

void KXSoundController::toggleEffects(CCObject*) {
    if (settings()->muteEffects)
        unmuteEffects();
    else
        muteEffects();
}

void KXSoundController::muteMusic() {
    if (settings()->muteBackground)
        return;
    if (KXSound* music = KXSound::currentMusic()) {
        m_rememberedMusic = music->model();
        m_rememberedLooping = music->isLooping();
    }
    settings()->muteBackground = true;
    showMuted(m_musicButtons, true);
    refreshAllButtons();
    if (m_screen)
        m_screen->stopBackgroundMusic();
}

void KXSoundController::muteEffects() {
    if (settings()->muteEffects)
        return;
    settings()->muteEffects = true;
    showMuted(m_effectButtons, true);
    refreshAllButtons();
    // Through the sounds first, so that their states stay true and one-shot sounds end their life;
    // then whatever else the effect engine still plays.
    KXSound::stopAllEffects();
    experimental::AudioEngine::stopAll();
}

void KXSoundController::unmuteMusic() {
    if (!settings()->muteBackground)
        return;
    settings()->muteBackground = false;
    showMuted(m_musicButtons, false);
    refreshAllButtons();
    if (m_rememberedMusic)
        playMusic(m_rememberedMusic, m_rememberedLooping);
    if (!isMusicPlaying() && m_screen)
        m_screen->playScreenMusic();
    if (isMusicPlaying())
        return;
    // Last resort: the first screen of the game that has music.
    for (const auto& screen : getModels<KXModelScreen>()) {
        if (screen->music()) {
            playMusic(screen->music(), screen->loopMusic());
            return;
        }
    }
}

void KXSoundController::unmuteEffects() {
    if (!settings()->muteEffects)
        return;
    settings()->muteEffects = false;
    showMuted(m_effectButtons, false);
    refreshAllButtons();
}

void KXSoundController::playMusic(const std::shared_ptr<KXModelSound>& sound, bool loop) {
    auto* music = new KXSound(sound, KXSound::kInterfaceGroup);
    music->setAutoDelete(true);
    music->play(loop, true);
}

bool KXSoundController::isMusicPlaying() {
    return CocosDenshion::SimpleAudioEngine::sharedEngine()->isBackgroundMusicPlaying();
}
