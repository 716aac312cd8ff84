#include "model/classes/KXModelObjectParticlesEmitter.h"

#include "model/KXNumeric.h"
#include "model/classes/KXAttributeBinding.h"

using cocos2d::ccColor4F;

namespace {
constexpr const char* kTexture = "Texture";
constexpr const char* kTotalParticles = "Total Particles";
constexpr const char* kEmissionRate = "Emission Rate";
constexpr const char* kBlendAdditive = "Blend Additive";
constexpr const char* kStartSize = "Start Size";
constexpr const char* kEndSize = "End Size";
constexpr const char* kStartSpin = "Start Spin";
constexpr const char* kEndSpin = "End Spin";
constexpr const char* kGravity = "Gravity";
constexpr const char* kRadialAcceleration = "Radial Acceleration";
constexpr const char* kSpeed = "Speed";
constexpr const char* kAngle = "Angle";
constexpr const char* kLife = "Life";
constexpr const char* kColor = "Color";
constexpr const char* kColorVariation = "Color Variation";
constexpr const char* kPositionType = "Position Type";

// The runtime reads the variance of these.
constexpr uint32_t kVarianceInUse = 1;
constexpr float kContentSide = 30.0f;
} // namespace

KXModelObjectParticlesEmitter::KXModelObjectParticlesEmitter(const std::string& name)
    : KXModelObjectAsset(name), m_texture(new KXAttributeSprite(kTexture, this, 0)),
      m_totalParticles(new KXAttributeFloat(kTotalParticles, this, 0)),
      m_emissionRate(new KXAttributeFloat(kEmissionRate, this, 0)),
      m_blendAdditive(new KXAttributeBool(kBlendAdditive, this)),
      m_startSize(new KXAttributeFloat(kStartSize, this, kVarianceInUse)),
      m_endSize(new KXAttributeFloat(kEndSize, this, kVarianceInUse)),
      m_startSpin(new KXAttributeFloat(kStartSpin, this, kVarianceInUse)),
      m_endSpin(new KXAttributeFloat(kEndSpin, this, kVarianceInUse)),
      m_gravity(new KXAttributePoint(kGravity, this, 0)),
      m_radialAcceleration(new KXAttributeFloat(kRadialAcceleration, this, kVarianceInUse)),
      m_speed(new KXAttributeFloat(kSpeed, this, kVarianceInUse)),
      m_angle(new KXAttributeFloat(kAngle, this, kVarianceInUse)),
      m_life(new KXAttributeFloat(kLife, this, kVarianceInUse)),
      m_color(new KXAttributeGradient(kColor, this)),
      m_colorVariation(new KXAttributeGradient(kColorVariation, this)),
      m_positionType(new KXAttributeStringList(kPositionType, this)) {
    // Particle textures are drawn by the particle system, never from an atlas.
    m_texture->setExcludedFromAtlas(true);
    m_totalParticles->setValue(150.0f, true);
    m_life->setValue(3.0f, true);
    const int wholeParticles = kx::truncateToInt(m_totalParticles->value());
    m_emissionRate->setValue(static_cast<float>(kx::truncateToInt(wholeParticles / m_life->value())), true);
    m_startSize->setValue(50.0f, true);
    m_endSize->setValue(50.0f, true);
    m_speed->setValue(60.0f, true);
    m_angle->setValue(90.0f, true);
    m_speed->setVariableValue(20.0f);
    m_angle->setVariableValue(10.0f);
    m_life->setVariableValue(0.25f);
    m_color->setColor(0.0f, cocos2d::ccc4f(1.0f, 1.0f, 1.0f, 1.0f), true);
    m_color->setColor(1.0f, cocos2d::ccc4f(0.0f, 0.0f, 0.0f, 1.0f), true);
    m_colorVariation->setColor(0.0f, cocos2d::ccc4f(0.0f, 0.0f, 0.0f, 0.0f), true);
    m_colorVariation->setColor(1.0f, cocos2d::ccc4f(0.0f, 0.0f, 0.0f, 0.0f), true);
}

KXModelObjectParticlesEmitter::KXModelObjectParticlesEmitter(const KXModelObjectParticlesEmitter& source)
    : KXModelObjectAsset(source), m_texture(boundAttribute<KXAttributeSprite>(*this, kTexture)),
      m_totalParticles(boundAttribute<KXAttributeFloat>(*this, kTotalParticles)),
      m_emissionRate(boundAttribute<KXAttributeFloat>(*this, kEmissionRate)),
      m_blendAdditive(boundAttribute<KXAttributeBool>(*this, kBlendAdditive)),
      m_startSize(boundAttribute<KXAttributeFloat>(*this, kStartSize)),
      m_endSize(boundAttribute<KXAttributeFloat>(*this, kEndSize)),
      m_startSpin(boundAttribute<KXAttributeFloat>(*this, kStartSpin)),
      m_endSpin(boundAttribute<KXAttributeFloat>(*this, kEndSpin)),
      m_gravity(boundAttribute<KXAttributePoint>(*this, kGravity)),
      m_radialAcceleration(boundAttribute<KXAttributeFloat>(*this, kRadialAcceleration)),
      m_speed(boundAttribute<KXAttributeFloat>(*this, kSpeed)),
      m_angle(boundAttribute<KXAttributeFloat>(*this, kAngle)),
      m_life(boundAttribute<KXAttributeFloat>(*this, kLife)),
      m_color(boundAttribute<KXAttributeGradient>(*this, kColor)),
      m_colorVariation(boundAttribute<KXAttributeGradient>(*this, kColorVariation)),
      m_positionType(boundAttribute<KXAttributeStringList>(*this, kPositionType)) {}

cocos2d::CCSize KXModelObjectParticlesEmitter::contentSize(float /*time*/) const {
    return cocos2d::CCSize(kContentSide, kContentSide);
}

std::shared_ptr<KXModelSpriteContainer> KXModelObjectParticlesEmitter::texture() const {
    return attributeValue(m_texture);
}
unsigned int KXModelObjectParticlesEmitter::totalParticles() const {
    return kx::truncateToUInt(attributeValue(m_totalParticles));
}
float KXModelObjectParticlesEmitter::emissionRate() const {
    return attributeValue(m_emissionRate);
}
bool KXModelObjectParticlesEmitter::blendAdditive() const {
    return attributeValue(m_blendAdditive);
}
float KXModelObjectParticlesEmitter::startSize() const {
    return attributeValue(m_startSize);
}
float KXModelObjectParticlesEmitter::startSizeVariance() const {
    return attributeVariance(m_startSize);
}
float KXModelObjectParticlesEmitter::endSize() const {
    return attributeValue(m_endSize);
}
float KXModelObjectParticlesEmitter::endSizeVariance() const {
    return attributeVariance(m_endSize);
}
float KXModelObjectParticlesEmitter::startSpin() const {
    return attributeValue(m_startSpin);
}
float KXModelObjectParticlesEmitter::startSpinVariance() const {
    return attributeVariance(m_startSpin);
}
float KXModelObjectParticlesEmitter::endSpin() const {
    return attributeValue(m_endSpin);
}
float KXModelObjectParticlesEmitter::endSpinVariance() const {
    return attributeVariance(m_endSpin);
}
cocos2d::CCPoint KXModelObjectParticlesEmitter::gravity() const {
    return attributeValue(m_gravity);
}
float KXModelObjectParticlesEmitter::radialAcceleration() const {
    return attributeValue(m_radialAcceleration);
}
float KXModelObjectParticlesEmitter::radialAccelerationVariance() const {
    return attributeVariance(m_radialAcceleration);
}
float KXModelObjectParticlesEmitter::speed() const {
    return attributeValue(m_speed);
}
float KXModelObjectParticlesEmitter::speedVariance() const {
    return attributeVariance(m_speed);
}
float KXModelObjectParticlesEmitter::angle() const {
    return attributeValue(m_angle);
}
float KXModelObjectParticlesEmitter::angleVariance() const {
    return attributeVariance(m_angle);
}
float KXModelObjectParticlesEmitter::life() const {
    return attributeValue(m_life);
}
float KXModelObjectParticlesEmitter::lifeVariance() const {
    return attributeVariance(m_life);
}

ccColor4F KXModelObjectParticlesEmitter::color(float position) const {
    const ccColor4F missing = cocos2d::ccc4f(0.0f, 0.0f, 0.0f, 1.0f);
    return m_color != nullptr ? m_color->colorAt(position, missing) : missing;
}

ccColor4F KXModelObjectParticlesEmitter::colorVariation(float position) const {
    const ccColor4F missing = cocos2d::ccc4f(0.0f, 0.0f, 0.0f, 1.0f);
    return m_colorVariation != nullptr ? m_colorVariation->colorAt(position, missing) : missing;
}

int KXModelObjectParticlesEmitter::positionType() const {
    const std::string& type = attributeText(m_positionType);
    if (type == "kCCPositionTypeRelative") {
        return 1;
    }
    if (type == "kCCPositionTypeGrouped") {
        return 2;
    }
    return 0;
}
