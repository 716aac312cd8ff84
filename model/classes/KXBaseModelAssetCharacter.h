#pragma once

#include "model/classes/KXModelAsset.h"

#include <memory>
#include <string>

class KXAttributeAnimation;
class KXAttributeSound;
class KXAttributeBool;
class KXAttributeFloat;
class KXAttributeString;
class KXAttributeStringList;
class KXModelAnimation;
class KXModelSound;

// A playable character: its animations and sounds per state, shadow and tilt, camera effects,
// and how the player obtains it.
class KXBaseModelAssetCharacter : public KXModelAsset {
public:
    explicit KXBaseModelAssetCharacter(const std::string& name);
    KXBaseModelAssetCharacter(const KXBaseModelAssetCharacter& source);

    // What "Default Animation" currently shows (its frame source); empty until it has one.
    std::shared_ptr<KXModelSpriteContainer> spriteContainer() const override;

    std::shared_ptr<KXModelAnimation> shootingAnimation() const;
    std::shared_ptr<KXModelAnimation> defeatedAnimation() const;
    bool castShadow() const;
    bool autoTilt() const;
    float gameOverDelay() const;
    float cameraShake() const;
    float cameraFlash() const;
    float fallAttribute() const;
    float price() const;
    const std::string& purchaseMethod() const;
    const std::string& adNetwork() const;
    const std::string& storeIdentifier() const;
    const std::string& webLink() const;

    // Null in a copy whose source lacked the attribute or held it under another class.
    KXAttributeAnimation* defaultAnimationAttribute() const { return m_defaultAnimation; }
    KXAttributeAnimation* shootingAnimationAttribute() const { return m_shootingAnimation; }
    KXAttributeAnimation* bulletAnimationAttribute() const { return m_bulletAnimation; }
    KXAttributeAnimation* jumpAnimationAttribute() const { return m_jumpAnimation; }
    KXAttributeAnimation* moveAnimationAttribute() const { return m_moveAnimation; }
    KXAttributeAnimation* defeatedAnimationAttribute() const { return m_defeatedAnimation; }
    KXAttributeSound* jumpSoundAttribute() const { return m_jumpSound; }
    KXAttributeSound* shootSoundAttribute() const { return m_shootSound; }
    KXAttributeSound* defeatedSoundAttribute() const { return m_defeatedSound; }
    KXAttributeSound* groundCollisionAttribute() const { return m_groundCollision; }
    KXAttributeBool* castShadowAttribute() const { return m_castShadow; }
    KXAttributeBool* autoTiltAttribute() const { return m_autoTilt; }
    KXAttributeFloat* gameOverDelayAttribute() const { return m_gameOverDelay; }
    KXAttributeFloat* cameraShakeAttribute() const { return m_cameraShake; }
    KXAttributeFloat* cameraFlashAttribute() const { return m_cameraFlash; }
    KXAttributeFloat* fallAttributeAttribute() const { return m_fallAttribute; }
    KXAttributeStringList* purchaseMethodAttribute() const { return m_purchaseMethod; }
    KXAttributeStringList* adNetworkAttribute() const { return m_adNetwork; }
    KXAttributeString* storeIdentifierAttribute() const { return m_storeIdentifier; }
    KXAttributeString* webLinkAttribute() const { return m_webLink; }
    KXAttributeFloat* priceAttribute() const { return m_price; }

private:
    KXAttributeAnimation* m_defaultAnimation = nullptr;
    KXAttributeAnimation* m_shootingAnimation = nullptr;
    KXAttributeAnimation* m_bulletAnimation = nullptr;
    KXAttributeAnimation* m_jumpAnimation = nullptr;
    KXAttributeAnimation* m_moveAnimation = nullptr;
    KXAttributeAnimation* m_defeatedAnimation = nullptr;
    KXAttributeSound* m_jumpSound = nullptr;
    KXAttributeSound* m_shootSound = nullptr;
    KXAttributeSound* m_defeatedSound = nullptr;
    KXAttributeSound* m_groundCollision = nullptr;
    KXAttributeBool* m_castShadow = nullptr;
    KXAttributeBool* m_autoTilt = nullptr;
    KXAttributeFloat* m_gameOverDelay = nullptr;
    KXAttributeFloat* m_cameraShake = nullptr;
    KXAttributeFloat* m_cameraFlash = nullptr;
    KXAttributeFloat* m_fallAttribute = nullptr;
    KXAttributeStringList* m_purchaseMethod = nullptr;
    KXAttributeStringList* m_adNetwork = nullptr;
    KXAttributeString* m_storeIdentifier = nullptr;
    KXAttributeString* m_webLink = nullptr;
    KXAttributeFloat* m_price = nullptr;
};
