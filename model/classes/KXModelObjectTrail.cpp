#include "model/classes/KXModelObjectTrail.h"

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
} // namespace

KXModelObjectTrail::KXModelObjectTrail(const std::string& name)
    : KXModelObjectAsset(name), m_texture(new KXAttributeSprite(kTexture, this, 0)),
      m_startWidth(new KXAttributeFloat(kStartWidth, this, 0)),
      m_endWidth(new KXAttributeFloat(kEndWidth, this, 0)), m_speed(new KXAttributeFloat(kSpeed, this, 0)),
      m_length(new KXAttributeFloat(kLength, this, 0)),
      m_waveHeight(new KXAttributeFloat(kWaveHeight, this, 0)),
      m_waveLength(new KXAttributeFloat(kWaveLength, this, 0)),
      m_shape(makeOwnBoxPolygon(kShapeSide, kShapeSide)) {
    // The strip is drawn from its own texture, never from an atlas.
    m_texture->setExcludedFromAtlas(true);
    m_startWidth->setValue(15.0f, true);
    m_endWidth->setValue(5.0f, true);
    m_speed->setValue(50.0f, true);
    m_length->setValue(300.0f, true);
    m_waveLength->setValue(50.0f, true);
}

KXModelObjectTrail::KXModelObjectTrail(const KXModelObjectTrail& source)
    : KXModelObjectAsset(source), m_texture(boundAttribute<KXAttributeSprite>(*this, kTexture)),
      m_startWidth(boundAttribute<KXAttributeFloat>(*this, kStartWidth)),
      m_endWidth(boundAttribute<KXAttributeFloat>(*this, kEndWidth)),
      m_speed(boundAttribute<KXAttributeFloat>(*this, kSpeed)),
      m_length(boundAttribute<KXAttributeFloat>(*this, kLength)),
      m_waveHeight(boundAttribute<KXAttributeFloat>(*this, kWaveHeight)),
      m_waveLength(boundAttribute<KXAttributeFloat>(*this, kWaveLength)),
      m_shape(makeOwnBoxPolygon(kShapeSide, kShapeSide)) {}

std::shared_ptr<KXModelPolygon> KXModelObjectTrail::collisionShape() const {
    return m_shape;
}

std::shared_ptr<KXModelSpriteContainer> KXModelObjectTrail::texture() const {
    return attributeValue(m_texture);
}
float KXModelObjectTrail::startWidth() const {
    return attributeValue(m_startWidth);
}
float KXModelObjectTrail::endWidth() const {
    return attributeValue(m_endWidth);
}
float KXModelObjectTrail::speed() const {
    return attributeValue(m_speed);
}
float KXModelObjectTrail::length() const {
    return attributeValue(m_length);
}
float KXModelObjectTrail::waveHeight() const {
    return attributeValue(m_waveHeight);
}
float KXModelObjectTrail::waveLength() const {
    return attributeValue(m_waveLength);
}
