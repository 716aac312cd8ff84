#pragma once

#include "model/classes/KXModelCompound.h"
#include "model/classes/KXModelObject.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class KXAttributeString;
class KXAttributeStringList;
class KXAttributeFloat;
class KXAttributeInt;
class KXAttributeBool;
class KXAttributeSound;
class KXModelScreen;
class KXModelSound;

// One screen of the game: its navigation key, ad networks and how often they show, background
// music, the frame counts of its open, idle and close animations, and whether it starts muted.
// Keeps its scene-object children in an ordered list beside the children.
class KXBaseModelScreen : public KXModelCompound {
public:
    using ObjectList = std::vector<std::shared_ptr<KXModelObject>>;

    explicit KXBaseModelScreen(const std::string& name);
    // Attributes as copied; "Muted" and both counters from the source; the object list fills
    // as children are added to the copy.
    KXBaseModelScreen(const KXBaseModelScreen& source);
    ~KXBaseModelScreen() override;

    void childAdded(const std::shared_ptr<KXModel>& child) override;
    void childRemoved(const std::shared_ptr<KXModel>& child) override;
    void allChildrenRemoved() override;

    // True when the model is a direct child (scenes also search their level sections).
    virtual bool containsModel(const std::shared_ptr<KXModel>& model) const;
    // The scene objects of this screen, in the order they were added.
    virtual ObjectList getObjects() const;

    const std::string& key() const;
    const std::string& adBanner() const;
    const std::string& adInterstitial() const;
    const std::string& backgroundScene() const;
    // Frequencies truncated toward zero.
    int adBannerFrequency() const;
    int adInterstitialsFrequency() const;
    std::shared_ptr<KXModelSound> music() const;
    bool loopMusic() const;
    bool stopMusicOnDeath() const;
    int openAnimationFrames() const;
    int idleAnimationFrames() const;
    int closeAnimationFrames() const;
    bool idleAnimationLoop() const;
    bool isMuted() const;

    // Announced (flag 0) only when the reference or value changes.
    void setMusic(const std::shared_ptr<KXModelSound>& sound);
    void setMuted(bool muted);

    // Counts a banner request; true once the count reached "Ad Banner Freq." and a network is
    // named, until the screen layer resets bannerCounter. Never while ads are removed.
    bool shouldShowBanner();

    // The plain screen (scenes are not searched) with that key, created and stored when none
    // has it; never empty.
    static std::shared_ptr<KXModelScreen> findScreenByKey(const std::string& key);
    // The first stored plain screen that has the model as a direct child, or empty.
    static std::shared_ptr<KXModelScreen> findScreenWithChild(const std::shared_ptr<KXModel>& model);

    // Whether the player bought the removal of ads; the player's settings install it (the model
    // layer cannot reach them). Without one, ads are not removed.
    static void setAdsRemovedQuery(std::function<bool()> query);

    static constexpr const char* kNoAds = "kNoAds";

    // Banner and interstitial requests since each was last shown; the screen layer resets them.
    int32_t bannerCounter = 0;
    int32_t interstitialCounter = 0;

    KXAttributeString* keyAttribute() const { return m_key; }
    KXAttributeStringList* adBannerAttribute() const { return m_adBanner; }
    KXAttributeStringList* adInterstitialAttribute() const { return m_adInterstitial; }
    KXAttributeFloat* adBannerFrequencyAttribute() const { return m_adBannerFrequency; }
    KXAttributeFloat* adInterstitialsFrequencyAttribute() const { return m_adInterstitialsFrequency; }
    KXAttributeSound* musicAttribute() const { return m_music; }
    KXAttributeBool* loopMusicAttribute() const { return m_loopMusic; }
    KXAttributeBool* stopMusicOnDeathAttribute() const { return m_stopMusicOnDeath; }
    KXAttributeStringList* backgroundSceneAttribute() const { return m_backgroundScene; }
    KXAttributeBool* idleAnimationLoopAttribute() const { return m_idleAnimationLoop; }
    KXAttributeInt* openAnimationFramesAttribute() const { return m_openAnimationFrames; }
    KXAttributeInt* idleAnimationFramesAttribute() const { return m_idleAnimationFrames; }
    KXAttributeInt* closeAnimationFramesAttribute() const { return m_closeAnimationFrames; }
    KXAttributeBool* mutedAttribute() const { return m_muted; }

private:
    KXAttributeString* m_key = nullptr;
    KXAttributeStringList* m_adBanner = nullptr;
    KXAttributeStringList* m_adInterstitial = nullptr;
    KXAttributeFloat* m_adBannerFrequency = nullptr;
    KXAttributeFloat* m_adInterstitialsFrequency = nullptr;
    KXAttributeSound* m_music = nullptr;
    KXAttributeBool* m_loopMusic = nullptr;
    KXAttributeBool* m_stopMusicOnDeath = nullptr;
    KXAttributeStringList* m_backgroundScene = nullptr;
    KXAttributeBool* m_idleAnimationLoop = nullptr;
    KXAttributeInt* m_openAnimationFrames = nullptr;
    KXAttributeInt* m_idleAnimationFrames = nullptr;
    KXAttributeInt* m_closeAnimationFrames = nullptr;
    KXAttributeBool* m_muted = nullptr;

    ObjectList m_objects;
};
