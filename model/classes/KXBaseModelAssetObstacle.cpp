#include "model/classes/KXBaseModelAssetObstacle.h"

#include "model/classes/KXAttributeBinding.h"
#include "model/classes/KXBaseModelSpriteContainer.h"
#include "model/references/KXAttributeAnimation.h"
#include "model/references/KXAttributeSound.h"

namespace {
constexpr const char* kIdleAnimation = "Idle Animation";
constexpr const char* kDefeatedAnimation = "Defeated Animation";
constexpr const char* kIdleSound = "Idle Sound";
constexpr const char* kDeathSound = "Death Sound";
constexpr const char* kWakeUpSound = "WakeUp Sound";

template <class A> auto referenced(const A* attribute) -> decltype(attribute->value()) {
    return attribute != nullptr ? attribute->value() : nullptr;
}
} // namespace

KXBaseModelAssetObstacle::KXBaseModelAssetObstacle(const std::string& name)
    : KXModelAsset(name), m_idleAnimation(new KXAttributeAnimation(kIdleAnimation, this)),
      m_defeatedAnimation(new KXAttributeAnimation(kDefeatedAnimation, this)),
      m_idleSound(new KXAttributeSound(kIdleSound, this)),
      m_deathSound(new KXAttributeSound(kDeathSound, this)),
      m_wakeUpSound(new KXAttributeSound(kWakeUpSound, this)) {}

KXBaseModelAssetObstacle::KXBaseModelAssetObstacle(const KXBaseModelAssetObstacle& source)
    : KXModelAsset(source), m_idleAnimation(boundAttribute<KXAttributeAnimation>(*this, kIdleAnimation)),
      m_defeatedAnimation(boundAttribute<KXAttributeAnimation>(*this, kDefeatedAnimation)),
      m_idleSound(boundAttribute<KXAttributeSound>(*this, kIdleSound)),
      m_deathSound(boundAttribute<KXAttributeSound>(*this, kDeathSound)),
      m_wakeUpSound(boundAttribute<KXAttributeSound>(*this, kWakeUpSound)) {}

std::shared_ptr<KXModelSpriteContainer> KXBaseModelAssetObstacle::spriteContainer() const {
    return m_idleAnimation != nullptr ? m_idleAnimation->animation() : nullptr;
}

std::shared_ptr<KXModelAnimation> KXBaseModelAssetObstacle::idleAnimation() const {
    return referenced(m_idleAnimation);
}
std::shared_ptr<KXModelAnimation> KXBaseModelAssetObstacle::defeatedAnimation() const {
    return referenced(m_defeatedAnimation);
}
std::shared_ptr<KXModelSound> KXBaseModelAssetObstacle::idleSound() const {
    return referenced(m_idleSound);
}
std::shared_ptr<KXModelSound> KXBaseModelAssetObstacle::deathSound() const {
    return referenced(m_deathSound);
}
std::shared_ptr<KXModelSound> KXBaseModelAssetObstacle::wakeUpSound() const {
    return referenced(m_wakeUpSound);
}

void KXBaseModelAssetObstacle::setIdleAnimation(const std::shared_ptr<KXModelAnimation>& animation) {
    if (m_idleAnimation != nullptr) {
        m_idleAnimation->setValue(animation, false);
    }
}

void KXBaseModelAssetObstacle::setIdleAnimationAndFitShape(
    const std::shared_ptr<KXModelSpriteContainer>& container) {
    if (!container) {
        setCollisionBox(cocos2d::CCSize(kEmptyShapeExtent, kEmptyShapeExtent), cocos2d::CCPoint(0.0f, 0.0f));
        return;
    }
    if (m_idleAnimation == nullptr) {
        return;
    }
    m_idleAnimation->addFrame(container);
    if (std::shared_ptr<KXModelSpriteContainer> source = m_idleAnimation->animation()) {
        setCollisionBoxFromSprite(*source);
    }
}
