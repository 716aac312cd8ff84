#pragma once

#include "model/attributes/KXAttributeGradient.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelObjectAsset.h"
#include "model/references/KXAttributeSprite.h"

#include <memory>
#include <string>

// The settings of one particle system: texture, counts, sizes, spins, gravity, speed, angle,
// life (most with a variance), colour gradients (components 0 to 1) and position type.
class KXModelObjectParticlesEmitter : public KXModelObjectAsset {
    KX_MODEL_IDENTITY(KXModelObjectParticlesEmitter, KXModelObjectAsset)
    KX_MODEL_CREATE(KXModelObjectParticlesEmitter)
    KX_MODEL_CLONE(KXModelObjectParticlesEmitter)

public:
    static constexpr const char* kDefaultObjectName = "";

    explicit KXModelObjectParticlesEmitter(const std::string& name);
    KXModelObjectParticlesEmitter(const KXModelObjectParticlesEmitter& source);

    cocos2d::CCSize contentSize(float time) const override;

    std::shared_ptr<KXModelSpriteContainer> texture() const;
    // "Total Particles" truncated toward zero (negative and NaN give 0).
    unsigned int totalParticles() const;
    float emissionRate() const;
    bool blendAdditive() const;
    float startSize() const;
    float startSizeVariance() const;
    float endSize() const;
    float endSizeVariance() const;
    float startSpin() const;
    float startSpinVariance() const;
    float endSpin() const;
    float endSpinVariance() const;
    cocos2d::CCPoint gravity() const;
    float radialAcceleration() const;
    float radialAccelerationVariance() const;
    float speed() const;
    float speedVariance() const;
    float angle() const;
    float angleVariance() const;
    float life() const;
    float lifeVariance() const;
    // The stop at exactly that position; (0, 0, 0, 1) without one.
    cocos2d::ccColor4F color(float position) const;
    cocos2d::ccColor4F colorVariation(float position) const;
    // 1 relative, 2 grouped, 0 (free) for any other text.
    int positionType() const;

private:
    KXAttributeSprite* m_texture = nullptr;
    KXAttributeFloat* m_totalParticles = nullptr;
    KXAttributeFloat* m_emissionRate = nullptr;
    KXAttributeBool* m_blendAdditive = nullptr;
    KXAttributeFloat* m_startSize = nullptr;
    KXAttributeFloat* m_endSize = nullptr;
    KXAttributeFloat* m_startSpin = nullptr;
    KXAttributeFloat* m_endSpin = nullptr;
    KXAttributePoint* m_gravity = nullptr;
    KXAttributeFloat* m_radialAcceleration = nullptr;
    KXAttributeFloat* m_speed = nullptr;
    KXAttributeFloat* m_angle = nullptr;
    KXAttributeFloat* m_life = nullptr;
    KXAttributeGradient* m_color = nullptr;
    KXAttributeGradient* m_colorVariation = nullptr;
    KXAttributeStringList* m_positionType = nullptr;
};
