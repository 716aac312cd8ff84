#include "model/classes/KXBaseModelScreen.h"

#include "model/KXDebugLog.h"
#include "model/KXModelController.h"
#include "model/KXNumeric.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXAttributeBinding.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelQueries.h"
#include "model/classes/KXModelScreen.h"
#include "model/references/KXAttributeSound.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace {

std::function<bool()>& adsRemovedQuery() {
    static std::function<bool()> query;
    return query;
}

const std::string& textOf(const KXAttributeString* attribute) {
    static const std::string empty;
    return attribute != nullptr ? attribute->value() : empty;
}

template <class A>
auto valueOf(const A* attribute, decltype(attribute->value()) fallback) -> decltype(attribute->value()) {
    return attribute != nullptr ? attribute->value() : fallback;
}

} // namespace

KXBaseModelScreen::KXBaseModelScreen(const std::string& name) : KXModelCompound(name) {
    m_key = new KXAttributeString("Key", this);
    m_adBanner = new KXAttributeStringList("Ad Banner", this);
    m_adInterstitial = new KXAttributeStringList("Ad Interstitial", this);
    m_adBannerFrequency = new KXAttributeFloat("Ad Banner Freq.", this);
    m_adInterstitialsFrequency = new KXAttributeFloat("Ad Interstitials Freq.", this);
    m_music = new KXAttributeSound("Music", this);
    m_loopMusic = new KXAttributeBool("Loop Music", this);
    m_stopMusicOnDeath = new KXAttributeBool("Stop BGM on Death", this);
    m_backgroundScene = new KXAttributeStringList("Background Scene", this);
    m_idleAnimationLoop = new KXAttributeBool("Idle Animation Loop", this);
    m_openAnimationFrames = new KXAttributeInt("Open Animation Frames", this);
    m_idleAnimationFrames = new KXAttributeInt("Idle Animation Frames", this);
    m_closeAnimationFrames = new KXAttributeInt("Close Animation Frames", this);

    m_adBannerFrequency->setValue(1.0f, true);
    m_adInterstitialsFrequency->setValue(1.0f, true);
    m_loopMusic->setValue(true, true);
    m_openAnimationFrames->setValue(40, true);
    m_idleAnimationFrames->setValue(40, true);

    m_muted = new KXAttributeBool("Muted", this);
}

KXBaseModelScreen::KXBaseModelScreen(const KXBaseModelScreen& source)
    : KXModelCompound(source), m_key(boundAttribute<KXAttributeString>(*this, "Key")),
      m_adBanner(boundAttribute<KXAttributeStringList>(*this, "Ad Banner")),
      m_adInterstitial(boundAttribute<KXAttributeStringList>(*this, "Ad Interstitial")),
      m_adBannerFrequency(boundAttribute<KXAttributeFloat>(*this, "Ad Banner Freq.")),
      m_adInterstitialsFrequency(boundAttribute<KXAttributeFloat>(*this, "Ad Interstitials Freq.")),
      m_music(boundAttribute<KXAttributeSound>(*this, "Music")),
      m_loopMusic(boundAttribute<KXAttributeBool>(*this, "Loop Music")),
      m_stopMusicOnDeath(boundAttribute<KXAttributeBool>(*this, "Stop BGM on Death")),
      m_backgroundScene(boundAttribute<KXAttributeStringList>(*this, "Background Scene")),
      m_idleAnimationLoop(boundAttribute<KXAttributeBool>(*this, "Idle Animation Loop")),
      m_openAnimationFrames(boundAttribute<KXAttributeInt>(*this, "Open Animation Frames")),
      m_idleAnimationFrames(boundAttribute<KXAttributeInt>(*this, "Idle Animation Frames")),
      m_closeAnimationFrames(boundAttribute<KXAttributeInt>(*this, "Close Animation Frames")),
      m_muted(boundAttribute<KXAttributeBool>(*this, "Muted")) {
    setMuted(source.isMuted());
    bannerCounter = source.bannerCounter;
    interstitialCounter = source.interstitialCounter;
}

KXBaseModelScreen::~KXBaseModelScreen() = default;

void KXBaseModelScreen::childAdded(const std::shared_ptr<KXModel>& child) {
    KXModelCompound::childAdded(child);
    if (std::shared_ptr<KXModelObject> object = modelKindCast<KXModelObject>(child)) {
        m_objects.push_back(object);
    }
}

void KXBaseModelScreen::childRemoved(const std::shared_ptr<KXModel>& child) {
    KXModelCompound::childRemoved(child);
    if (std::shared_ptr<KXModelObject> object = modelKindCast<KXModelObject>(child)) {
        auto found = std::find(m_objects.begin(), m_objects.end(), object);
        if (found != m_objects.end()) {
            m_objects.erase(found);
        }
    }
}

void KXBaseModelScreen::allChildrenRemoved() {
    KXModelCompound::allChildrenRemoved();
    m_objects.clear();
}

bool KXBaseModelScreen::containsModel(const std::shared_ptr<KXModel>& model) const {
    return hasChild(model);
}

KXBaseModelScreen::ObjectList KXBaseModelScreen::getObjects() const {
    return m_objects;
}

const std::string& KXBaseModelScreen::key() const {
    return textOf(m_key);
}

const std::string& KXBaseModelScreen::adBanner() const {
    return textOf(m_adBanner);
}

const std::string& KXBaseModelScreen::adInterstitial() const {
    return textOf(m_adInterstitial);
}

const std::string& KXBaseModelScreen::backgroundScene() const {
    return textOf(m_backgroundScene);
}

int KXBaseModelScreen::adBannerFrequency() const {
    return kx::truncateToInt(valueOf(m_adBannerFrequency, 1.0f));
}

int KXBaseModelScreen::adInterstitialsFrequency() const {
    return kx::truncateToInt(valueOf(m_adInterstitialsFrequency, 1.0f));
}

std::shared_ptr<KXModelSound> KXBaseModelScreen::music() const {
    return m_music != nullptr ? m_music->value() : nullptr;
}

bool KXBaseModelScreen::loopMusic() const {
    return valueOf(m_loopMusic, true);
}

bool KXBaseModelScreen::stopMusicOnDeath() const {
    return valueOf(m_stopMusicOnDeath, false);
}

int KXBaseModelScreen::openAnimationFrames() const {
    return valueOf(m_openAnimationFrames, 0);
}

int KXBaseModelScreen::idleAnimationFrames() const {
    return valueOf(m_idleAnimationFrames, 0);
}

int KXBaseModelScreen::closeAnimationFrames() const {
    return valueOf(m_closeAnimationFrames, 0);
}

bool KXBaseModelScreen::idleAnimationLoop() const {
    return valueOf(m_idleAnimationLoop, false);
}

bool KXBaseModelScreen::isMuted() const {
    return valueOf(m_muted, false);
}

void KXBaseModelScreen::setMusic(const std::shared_ptr<KXModelSound>& sound) {
    if (m_music != nullptr) {
        m_music->setValue(sound);
    }
}

void KXBaseModelScreen::setMuted(bool muted) {
    if (m_muted != nullptr) {
        m_muted->setValue(muted);
    }
}

bool KXBaseModelScreen::shouldShowBanner() {
    const std::function<bool()>& adsRemoved = adsRemovedQuery();
    if (adsRemoved && adsRemoved()) {
        return false;
    }
    // Saturates: the counter only grows until the screen layer resets it.
    if (bannerCounter < INT32_MAX) {
        ++bannerCounter;
    }
    if (adBannerFrequency() > bannerCounter) {
        return false;
    }
    if (adBanner() == kNoAds) {
        return false;
    }
    debugLog("[KXBaseModelScreen] banner will show for: %s", key().c_str());
    return true;
}

std::shared_ptr<KXModelScreen> KXBaseModelScreen::findScreenByKey(const std::string& key) {
    for (const std::shared_ptr<KXModelScreen>& screen : getModels<KXModelScreen>()) {
        if (screen->key() == key) {
            return screen;
        }
    }
    std::shared_ptr<KXModelScreen> screen = std::static_pointer_cast<KXModelScreen>(KXModelScreen::create());
    if (KXAttributeString* keyAttribute = screen->keyAttribute()) {
        keyAttribute->setValue(key, true);
    }
    KXModelController::shared()->addModel(screen);
    return screen;
}

std::shared_ptr<KXModelScreen> KXBaseModelScreen::findScreenWithChild(const std::shared_ptr<KXModel>& model) {
    for (const std::shared_ptr<KXModelScreen>& screen : getModels<KXModelScreen>()) {
        if (screen->hasChild(model)) {
            return screen;
        }
    }
    return nullptr;
}

void KXBaseModelScreen::setAdsRemovedQuery(std::function<bool()> query) {
    adsRemovedQuery() = std::move(query);
}
