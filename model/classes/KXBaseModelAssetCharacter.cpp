#include "model/classes/KXBaseModelAssetCharacter.h"

#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXAttributeBinding.h"
#include "model/references/KXAttributeAnimation.h"
#include "model/references/KXAttributeSound.h"

namespace {
constexpr const char* kDefaultAnimation = "Default Animation";
constexpr const char* kShootingAnimation = "Shooting Animation";
constexpr const char* kBulletAnimation = "Bullet Animation";
constexpr const char* kJumpAnimation = "Jump Animation";
constexpr const char* kMoveAnimation = "Move Animation";
constexpr const char* kDefeatedAnimation = "Defeated Animation";
constexpr const char* kJumpSound = "Jump Sound";
constexpr const char* kShootSound = "Shoot Sound";
constexpr const char* kDefeatedSound = "Defeated Sound";
constexpr const char* kGroundCollision = "Ground Collision";
constexpr const char* kCastShadow = "Cast Shadow";
constexpr const char* kAutoTilt = "Auto Tilt";
constexpr const char* kGameOverDelay = "Game Over Delay";
constexpr const char* kCameraShake = "Camera Shake";
constexpr const char* kCameraFlash = "Camera Flash";
constexpr const char* kFallAttribute = "Fall Attribute";
constexpr const char* kPurchaseMethod = "Purchase Method";
constexpr const char* kAdNetwork = "Ad Network";
constexpr const char* kStoreIdentifier = "Store Identifier";
constexpr const char* kWebLink = "Web Link";
constexpr const char* kPrice = "Price";
} // namespace

KXBaseModelAssetCharacter::KXBaseModelAssetCharacter(const std::string& name)
    : KXModelAsset(name), m_defaultAnimation(new KXAttributeAnimation(kDefaultAnimation, this)),
      m_shootingAnimation(new KXAttributeAnimation(kShootingAnimation, this)),
      m_bulletAnimation(new KXAttributeAnimation(kBulletAnimation, this)),
      m_jumpAnimation(new KXAttributeAnimation(kJumpAnimation, this)),
      m_moveAnimation(new KXAttributeAnimation(kMoveAnimation, this)),
      m_defeatedAnimation(new KXAttributeAnimation(kDefeatedAnimation, this)),
      m_jumpSound(new KXAttributeSound(kJumpSound, this)),
      m_shootSound(new KXAttributeSound(kShootSound, this)),
      m_defeatedSound(new KXAttributeSound(kDefeatedSound, this)),
      m_groundCollision(new KXAttributeSound(kGroundCollision, this)),
      m_castShadow(new KXAttributeBool(kCastShadow, this)), m_autoTilt(new KXAttributeBool(kAutoTilt, this)),
      m_gameOverDelay(new KXAttributeFloat(kGameOverDelay, this)),
      m_cameraShake(new KXAttributeFloat(kCameraShake, this)),
      m_cameraFlash(new KXAttributeFloat(kCameraFlash, this)),
      m_fallAttribute(new KXAttributeFloat(kFallAttribute, this)),
      m_purchaseMethod(new KXAttributeStringList(kPurchaseMethod, this)),
      m_adNetwork(new KXAttributeStringList(kAdNetwork, this)),
      m_storeIdentifier(new KXAttributeString(kStoreIdentifier, this)),
      m_webLink(new KXAttributeString(kWebLink, this)), m_price(new KXAttributeFloat(kPrice, this)) {
    m_castShadow->setValue(true, true);
}

KXBaseModelAssetCharacter::KXBaseModelAssetCharacter(const KXBaseModelAssetCharacter& source)
    : KXModelAsset(source),
      m_defaultAnimation(boundAttribute<KXAttributeAnimation>(*this, kDefaultAnimation)),
      m_shootingAnimation(boundAttribute<KXAttributeAnimation>(*this, kShootingAnimation)),
      m_bulletAnimation(boundAttribute<KXAttributeAnimation>(*this, kBulletAnimation)),
      m_jumpAnimation(boundAttribute<KXAttributeAnimation>(*this, kJumpAnimation)),
      m_moveAnimation(boundAttribute<KXAttributeAnimation>(*this, kMoveAnimation)),
      m_defeatedAnimation(boundAttribute<KXAttributeAnimation>(*this, kDefeatedAnimation)),
      m_jumpSound(boundAttribute<KXAttributeSound>(*this, kJumpSound)),
      m_shootSound(boundAttribute<KXAttributeSound>(*this, kShootSound)),
      m_defeatedSound(boundAttribute<KXAttributeSound>(*this, kDefeatedSound)),
      m_groundCollision(boundAttribute<KXAttributeSound>(*this, kGroundCollision)),
      m_castShadow(boundAttribute<KXAttributeBool>(*this, kCastShadow)),
      m_autoTilt(boundAttribute<KXAttributeBool>(*this, kAutoTilt)),
      m_gameOverDelay(boundAttribute<KXAttributeFloat>(*this, kGameOverDelay)),
      m_cameraShake(boundAttribute<KXAttributeFloat>(*this, kCameraShake)),
      m_cameraFlash(boundAttribute<KXAttributeFloat>(*this, kCameraFlash)),
      m_fallAttribute(boundAttribute<KXAttributeFloat>(*this, kFallAttribute)),
      m_purchaseMethod(boundAttribute<KXAttributeStringList>(*this, kPurchaseMethod)),
      m_adNetwork(boundAttribute<KXAttributeStringList>(*this, kAdNetwork)),
      m_storeIdentifier(boundAttribute<KXAttributeString>(*this, kStoreIdentifier)),
      m_webLink(boundAttribute<KXAttributeString>(*this, kWebLink)),
      m_price(boundAttribute<KXAttributeFloat>(*this, kPrice)) {}

std::shared_ptr<KXModelSpriteContainer> KXBaseModelAssetCharacter::spriteContainer() const {
    return m_defaultAnimation != nullptr ? m_defaultAnimation->animation() : nullptr;
}

std::shared_ptr<KXModelAnimation> KXBaseModelAssetCharacter::shootingAnimation() const {
    return attributeValue(m_shootingAnimation);
}
std::shared_ptr<KXModelAnimation> KXBaseModelAssetCharacter::defeatedAnimation() const {
    return attributeValue(m_defeatedAnimation);
}
bool KXBaseModelAssetCharacter::castShadow() const {
    return attributeValue(m_castShadow);
}
bool KXBaseModelAssetCharacter::autoTilt() const {
    return attributeValue(m_autoTilt);
}
float KXBaseModelAssetCharacter::gameOverDelay() const {
    return attributeValue(m_gameOverDelay);
}
float KXBaseModelAssetCharacter::cameraShake() const {
    return attributeValue(m_cameraShake);
}
float KXBaseModelAssetCharacter::cameraFlash() const {
    return attributeValue(m_cameraFlash);
}
float KXBaseModelAssetCharacter::fallAttribute() const {
    return attributeValue(m_fallAttribute);
}
float KXBaseModelAssetCharacter::price() const {
    return attributeValue(m_price);
}
const std::string& KXBaseModelAssetCharacter::purchaseMethod() const {
    return attributeText(m_purchaseMethod);
}
const std::string& KXBaseModelAssetCharacter::adNetwork() const {
    return attributeText(m_adNetwork);
}
const std::string& KXBaseModelAssetCharacter::storeIdentifier() const {
    return attributeText(m_storeIdentifier);
}
const std::string& KXBaseModelAssetCharacter::webLink() const {
    return attributeText(m_webLink);
}
