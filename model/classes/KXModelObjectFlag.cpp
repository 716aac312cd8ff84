#include "model/classes/KXModelObjectFlag.h"

#include "model/classes/KXAttributeBinding.h"
#include "model/classes/KXOwnPolygon.h"

namespace {
constexpr const char* kTexture = "Texture";
constexpr const char* kStartWidth = "Start Width";
constexpr const char* kEndWidth = "End Width";
constexpr const char* kSpeed = "Speed";
constexpr const char* kLength = "Length";
constexpr const char* kWaveHeight = "Wave Height";
constexpr const char* kWaveLength = "Wave Length";
constexpr float kShapeSide = 10.0f;
constexpr float kContentSide = 60.0f;
} // namespace

KXModelObjectFlag::KXModelObjectFlag(const std::string& name)
    : KXModelObjectAsset(name), m_shape(makeOwnBoxPolygon(kShapeSide, kShapeSide)),
      m_texture(new KXAttributeSprite(kTexture, this, 0)),
      m_startWidth(new KXAttributeFloat(kStartWidth, this, 0)),
      m_endWidth(new KXAttributeFloat(kEndWidth, this, 0)), m_speed(new KXAttributeFloat(kSpeed, this, 0)),
      m_length(new KXAttributeFloat(kLength, this, 0)),
      m_waveHeight(new KXAttributeFloat(kWaveHeight, this, 0)),
      m_waveLength(new KXAttributeFloat(kWaveLength, this, 0)) {
    // The strip is drawn from its own texture, never from an atlas.
    m_texture->setExcludedFromAtlas(true);
    m_startWidth->setValue(50.0f, true);
    m_endWidth->setValue(50.0f, true);
    m_speed->setValue(100.0f, true);
    m_length->setValue(200.0f, true);
    m_waveHeight->setValue(100.0f, true);
    m_waveLength->setValue(100.0f, true);
}

KXModelObjectFlag::KXModelObjectFlag(const KXModelObjectFlag& source)
    : KXModelObjectAsset(source), m_shape(makeOwnBoxPolygon(kShapeSide, kShapeSide)),
      m_texture(boundAttribute<KXAttributeSprite>(*this, kTexture)),
      m_startWidth(boundAttribute<KXAttributeFloat>(*this, kStartWidth)),
      m_endWidth(boundAttribute<KXAttributeFloat>(*this, kEndWidth)),
      m_speed(boundAttribute<KXAttributeFloat>(*this, kSpeed)),
      m_length(boundAttribute<KXAttributeFloat>(*this, kLength)),
      m_waveHeight(boundAttribute<KXAttributeFloat>(*this, kWaveHeight)),
      m_waveLength(boundAttribute<KXAttributeFloat>(*this, kWaveLength)) {}

std::shared_ptr<KXModelPolygon> KXModelObjectFlag::collisionShape() const {
    return m_shape;
}

cocos2d::CCSize KXModelObjectFlag::contentSize(float /*time*/) const {
    return cocos2d::CCSize(kContentSide, kContentSide);
}

std::shared_ptr<KXModelSpriteContainer> KXModelObjectFlag::texture() const {
    return attributeValue(m_texture);
}
float KXModelObjectFlag::startWidth() const {
    return attributeValue(m_startWidth);
}
float KXModelObjectFlag::endWidth() const {
    return attributeValue(m_endWidth);
}
float KXModelObjectFlag::speed() const {
    return attributeValue(m_speed);
}
float KXModelObjectFlag::length() const {
    return attributeValue(m_length);
}
float KXModelObjectFlag::waveHeight() const {
    return attributeValue(m_waveHeight);
}
float KXModelObjectFlag::waveLength() const {
    return attributeValue(m_waveLength);
}
