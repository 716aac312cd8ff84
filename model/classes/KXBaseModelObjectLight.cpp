#include "model/classes/KXBaseModelObjectLight.h"

#include "model/classes/KXAttributeBinding.h"
#include "model/classes/KXOwnPolygon.h"

namespace {
constexpr const char* kRadius = "Radius";
constexpr const char* kColor = "Color";
constexpr const char* kCastShadow = "Cast Shadow";
constexpr float kShapeSide = 10.0f;
} // namespace

KXBaseModelObjectLight::KXBaseModelObjectLight(const std::string& name)
    : KXModelObjectAsset(name), m_shape(makeOwnBoxPolygon(kShapeSide, kShapeSide)),
      m_radius(new KXAttributeFloat(kRadius, this, 0)), m_color(new KXAttributeColor(kColor, this)),
      m_castShadow(new KXAttributeBool(kCastShadow, this)) {
    m_radius->setValue(25.0f, true);
    m_color->setValue(cocos2d::ccc4f(255.0f, 255.0f, 255.0f, 255.0f), true);
}

KXBaseModelObjectLight::KXBaseModelObjectLight(const KXBaseModelObjectLight& source)
    : KXModelObjectAsset(source), m_shape(makeOwnBoxPolygon(kShapeSide, kShapeSide)),
      m_radius(boundAttribute<KXAttributeFloat>(*this, kRadius)),
      m_color(boundAttribute<KXAttributeColor>(*this, kColor)),
      m_castShadow(boundAttribute<KXAttributeBool>(*this, kCastShadow)) {}

std::shared_ptr<KXModelPolygon> KXBaseModelObjectLight::collisionShape() const {
    return m_shape;
}

float KXBaseModelObjectLight::radius() const {
    return attributeValue(m_radius);
}
cocos2d::ccColor4F KXBaseModelObjectLight::color() const {
    return attributeValue(m_color);
}
bool KXBaseModelObjectLight::castShadow() const {
    return attributeValue(m_castShadow);
}
