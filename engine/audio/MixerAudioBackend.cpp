#include "audio/MixerAudioBackend.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdio>

#include "base/ccMacros.h"
#include "platform/CCFileUtils.h"

namespace cocos2d {
namespace audio {

namespace {

// SDL_mixer's channel callback carries no user pointer; only one mixer can be open anyway.
MixerAudioBackend* s_openMixer = nullptr;

constexpr int kFirstChannelCount = 16;

int mixVolume(float volume) {
    return static_cast<int>(clampVolume(volume) * MIX_MAX_VOLUME + 0.5f);
}

// The mixer reads (and for effects decodes) the file through the descriptor that passed the size
// cap, so no other file is read in its place. A refusal is logged there; the mixer's error then
// says why nothing was loaded. Null when the file is refused.
SDL_RWops* openSound(const std::string& path) {
    CCOpenedFile file = CCFileUtils::sharedFileUtils()->openFile(path);
    if (!file) {
        Mix_SetError("not read");
        return nullptr;
    }
    std::FILE* stream = ::fdopen(file.descriptor(), "rb");
    if (!stream) {
        Mix_SetError("not read");
        return nullptr;
    }
    file.release();
    SDL_RWops* source = SDL_RWFromFP(stream, SDL_TRUE);
    if (!source)
        std::fclose(stream);
    return source;
}

// The name's extension as the first guess of the format, as loading by name does: an MP3's frames
// are not always recognised from their first bytes.
Mix_MusicType musicTypeOf(const std::string& path) {
    const size_t dot = path.find_last_of("./");
    if (dot == std::string::npos || path[dot] != '.')
        return MUS_NONE;
    const std::string extension = path.substr(dot + 1);
    if (SDL_strcasecmp(extension.c_str(), "mp3") == 0)
        return MUS_MP3;
    if (SDL_strcasecmp(extension.c_str(), "ogg") == 0)
        return MUS_OGG;
    return MUS_NONE;
}

} // namespace

// Audio thread (or the caller of a halt): only queue the channel, the main thread does the rest.
void MixerAudioBackend::onChannelFinished(int channel) {
    if (s_openMixer)
        s_openMixer->finishedChannels_.push(channel);
}

MixerAudioBackend::MixerAudioBackend() {
    if (s_openMixer) {
        CCLOG("Audio: a mixer is already open; this one stays silent");
        return;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        CCLOG("Audio: cannot start SDL audio: %s", SDL_GetError());
        return;
    }
    // Decoders that fail to load show up later as files that cannot be opened.
    Mix_Init(MIX_INIT_MP3 | MIX_INIT_OGG);
    if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 2048) != 0) {
        CCLOG("Audio: cannot open the audio device: %s", Mix_GetError());
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return;
    }
    Uint16 format = 0;
    int channels = 0;
    Mix_QuerySpec(&frequency_, &format, &channels);
    bytesPerFrame_ = static_cast<int>(SDL_AUDIO_BITSIZE(format) / 8) * channels;
    channelOwner_.assign(static_cast<size_t>(Mix_AllocateChannels(kFirstChannelCount)), 0);
    s_openMixer = this;
    Mix_ChannelFinished(&MixerAudioBackend::onChannelFinished);
    open_ = true;
}

MixerAudioBackend::~MixerAudioBackend() {
    if (!open_)
        return;
    // Unhook first: halting below must not queue into a dying object.
    Mix_ChannelFinished(nullptr);
    s_openMixer = nullptr;
    Mix_HaltChannel(-1);
    Mix_HaltMusic();
    if (music_)
        Mix_FreeMusic(music_);
    for (auto& entry : chunks_)
        Mix_FreeChunk(entry.second);
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

// ---- music

bool MixerAudioBackend::playMusic(const std::string& path, bool loop) {
    if (!open_)
        return false;
    Mix_HaltMusic(); // the old track ends even when the new one cannot start
    if (!music_ || path != musicPath_) {
        if (music_)
            Mix_FreeMusic(music_);
        musicPath_.clear();
        SDL_RWops* source = openSound(path);
        music_ = source ? Mix_LoadMUSType_RW(source, musicTypeOf(path), 1) : nullptr;
        if (!music_) {
            CCLOG("Audio: cannot open music \"%s\": %s", path.c_str(), Mix_GetError());
            return false;
        }
        musicPath_ = path;
    }
    Mix_VolumeMusic(mixVolume(musicVolume_));
    if (Mix_PlayMusic(music_, loop ? -1 : 1) != 0) {
        CCLOG("Audio: cannot play music \"%s\": %s", path.c_str(), Mix_GetError());
        return false;
    }
    return true;
}

void MixerAudioBackend::stopMusic(bool releaseData) {
    if (!open_)
        return;
    Mix_HaltMusic();
    if (releaseData && music_) {
        Mix_FreeMusic(music_);
        music_ = nullptr;
        musicPath_.clear();
    }
}

void MixerAudioBackend::pauseMusic() {
    if (open_)
        Mix_PauseMusic();
}

void MixerAudioBackend::resumeMusic() {
    if (open_)
        Mix_ResumeMusic();
}

bool MixerAudioBackend::isMusicPlaying() {
    return open_ && Mix_PlayingMusic() != 0 && Mix_PausedMusic() == 0;
}

void MixerAudioBackend::setMusicVolume(float volume) {
    musicVolume_ = clampVolume(volume);
    if (open_)
        Mix_VolumeMusic(mixVolume(musicVolume_));
}

// ---- effects

Mix_Chunk* MixerAudioBackend::chunkFor(const std::string& path) {
    auto found = chunks_.find(path);
    if (found != chunks_.end())
        return found->second;
    SDL_RWops* source = openSound(path);
    Mix_Chunk* chunk = source ? Mix_LoadWAV_RW(source, 1) : nullptr;
    if (!chunk) {
        CCLOG("Audio: cannot open sound \"%s\": %s", path.c_str(), Mix_GetError());
        return nullptr;
    }
    chunks_.emplace(path, chunk);
    return chunk;
}

// A channel stays owned until the main thread has taken its end, so a queued end can never be
// mistaken for the end of a newer voice on the same channel.
int MixerAudioBackend::freeChannel() {
    auto unused = std::find(channelOwner_.begin(), channelOwner_.end(), 0);
    if (unused != channelOwner_.end())
        return static_cast<int>(unused - channelOwner_.begin());
    int count = static_cast<int>(channelOwner_.size());
    if (count >= kMaxChannels)
        return -1;
    int grown = Mix_AllocateChannels(std::min(count * 2, kMaxChannels));
    if (grown <= count)
        return -1;
    channelOwner_.resize(static_cast<size_t>(grown), 0);
    return count;
}

MixerAudioBackend::Voice* MixerAudioBackend::findVoice(int voice) {
    auto found = voices_.find(voice);
    return found == voices_.end() || found->second.stopped ? nullptr : &found->second;
}

int MixerAudioBackend::playEffect(const std::string& path, bool loop, float volume) {
    if (!open_)
        return -1;
    Mix_Chunk* chunk = chunkFor(path);
    if (!chunk)
        return -1;
    int channel = freeChannel();
    if (channel < 0) {
        CCLOG("Audio: too many sounds at once, \"%s\" not played", path.c_str());
        return -1;
    }
    Mix_Volume(channel, mixVolume(volume));
    if (Mix_PlayChannel(channel, chunk, loop ? -1 : 0) < 0) {
        CCLOG("Audio: cannot play sound \"%s\": %s", path.c_str(), Mix_GetError());
        return -1;
    }
    int id = nextVoice_++;
    channelOwner_[static_cast<size_t>(channel)] = id;
    Voice& voice = voices_[id];
    voice.channel = channel;
    voice.chunk = chunk;
    voice.loop = loop;
    voice.mixLooping = loop;
    voice.startTicks = SDL_GetTicks();
    return id;
}

void MixerAudioBackend::stopEffect(int voiceId) {
    Voice* voice = findVoice(voiceId);
    if (!voice)
        return;
    voice->stopped = true;
    Mix_HaltChannel(voice->channel);
}

void MixerAudioBackend::pauseEffect(int voiceId) {
    Voice* voice = findVoice(voiceId);
    if (!voice || voice->pausedAt)
        return;
    Mix_Pause(voice->channel);
    voice->pausedAt = std::max<Uint32>(SDL_GetTicks(), 1);
}

void MixerAudioBackend::resumeEffect(int voiceId) {
    Voice* voice = findVoice(voiceId);
    if (!voice || !voice->pausedAt)
        return;
    Mix_Resume(voice->channel);
    voice->pausedTotal += SDL_GetTicks() - voice->pausedAt;
    voice->pausedAt = 0;
}

void MixerAudioBackend::setEffectVolume(int voiceId, float volume) {
    if (Voice* voice = findVoice(voiceId))
        Mix_Volume(voice->channel, mixVolume(volume));
}

unsigned MixerAudioBackend::chunkLengthMs(const Mix_Chunk* chunk) const {
    if (frequency_ <= 0 || bytesPerFrame_ <= 0)
        return 0;
    unsigned long long frames = chunk->alen / static_cast<unsigned>(bytesPerFrame_);
    return static_cast<unsigned>(frames * 1000ull / static_cast<unsigned>(frequency_));
}

// The mixer cannot change the loop count of a playing channel: a looping channel is cut at the
// end of its current pass, and a single pass that should loop is started again when it ends.
void MixerAudioBackend::setEffectLoop(int voiceId, bool loop) {
    Voice* voice = findVoice(voiceId);
    if (!voice || voice->loop == loop)
        return;
    voice->loop = loop;
    if (loop) {
        if (voice->expiring) {
            Mix_ExpireChannel(voice->channel, -1);
            voice->expiring = false;
        }
        return;
    }
    if (!voice->mixLooping)
        return;
    unsigned length = chunkLengthMs(voice->chunk);
    unsigned now = voice->pausedAt ? voice->pausedAt : SDL_GetTicks();
    unsigned played = now - voice->startTicks - voice->pausedTotal;
    unsigned remaining = length ? length - played % length : 0;
    Mix_ExpireChannel(voice->channel, static_cast<int>(std::max(remaining, 1u)));
    voice->expiring = true;
}

void MixerAudioBackend::restartPass(Voice& voice) {
    voice.mixLooping = true;
    voice.startTicks = SDL_GetTicks();
    voice.pausedTotal = 0;
    voice.pausedAt = 0;
    if (Mix_PlayChannel(voice.channel, voice.chunk, -1) < 0)
        voice.stopped = true; // reported as ended below
}

void MixerAudioBackend::takeFinishedVoices(std::vector<int>& out) {
    std::vector<int> channels;
    finishedChannels_.drainInto(channels);
    for (int channel : channels) {
        if (channel < 0 || channel >= static_cast<int>(channelOwner_.size()))
            continue;
        int id = channelOwner_[static_cast<size_t>(channel)];
        auto found = voices_.find(id);
        if (id == 0 || found == voices_.end())
            continue;
        Voice& voice = found->second;
        if (!voice.stopped && voice.loop) {
            restartPass(voice);
            if (!voice.stopped)
                continue;
        }
        channelOwner_[static_cast<size_t>(channel)] = 0;
        voices_.erase(found);
        out.push_back(id);
    }
}

} // namespace audio
} // namespace cocos2d
