#pragma once

#include "model/classes/KXModelAsset.h"

#include <memory>
#include <string>

class KXAttributeAnimation;
class KXAttributeSound;
class KXModelAnimation;
class KXModelSound;

// An obstacle definition: the animations it shows while idle and once defeated, and the
// sounds of idling, dying and waking up.
class KXBaseModelAssetObstacle : public KXModelAsset {
public:
    explicit KXBaseModelAssetObstacle(const std::string& name);
    KXBaseModelAssetObstacle(const KXBaseModelAssetObstacle& source);

    // What "Idle Animation" currently shows (its frame source, never stored); empty until it
    // has been given one.
    std::shared_ptr<KXModelSpriteContainer> spriteContainer() const override;

    std::shared_ptr<KXModelAnimation> idleAnimation() const;
    std::shared_ptr<KXModelAnimation> defeatedAnimation() const;
    std::shared_ptr<KXModelSound> idleSound() const;
    std::shared_ptr<KXModelSound> deathSound() const;
    std::shared_ptr<KXModelSound> wakeUpSound() const;

    // Refers "Idle Animation" to `animation` and tells the owner; the same model changes nothing.
    void setIdleAnimation(const std::shared_ptr<KXModelAnimation>& animation);
    // Shows the container as the idle animation's one frame and fits the collision box to it;
    // without a container the box becomes 10 x 10 around the origin.
    void setIdleAnimationAndFitShape(const std::shared_ptr<KXModelSpriteContainer>& container);

    // Null in a copy whose source lacked the attribute or held it under another class.
    KXAttributeAnimation* idleAnimationAttribute() const { return m_idleAnimation; }
    KXAttributeAnimation* defeatedAnimationAttribute() const { return m_defeatedAnimation; }
    KXAttributeSound* idleSoundAttribute() const { return m_idleSound; }
    KXAttributeSound* deathSoundAttribute() const { return m_deathSound; }
    KXAttributeSound* wakeUpSoundAttribute() const { return m_wakeUpSound; }

    static constexpr float kEmptyShapeExtent = 10.0f;

private:
    KXAttributeAnimation* m_idleAnimation = nullptr;
    KXAttributeAnimation* m_defeatedAnimation = nullptr;
    KXAttributeSound* m_idleSound = nullptr;
    KXAttributeSound* m_deathSound = nullptr;
    KXAttributeSound* m_wakeUpSound = nullptr;
};
