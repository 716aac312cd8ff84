#include "model/classes/KXModelObjectMirror.h"

#include "model/attributes/KXAttributePoint.h"
#include "model/classes/KXAttributeBinding.h"
#include "model/classes/KXOwnPolygon.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr const char* kColor = "Color";
constexpr float kShapeSide = 10.0f;
constexpr float kContentSide = 60.0f;

// NaN becomes 0: a NaN never compares equal, so it would re-enter the change hook forever.
float clampedScale(float value) {
    if (std::isnan(value)) {
        return 0.0f;
    }
    return std::min(std::max(value, 0.0f), KXModelObjectMirror::kMaximumScale);
}
} // namespace

KXModelObjectMirror::KXModelObjectMirror(const std::string& name)
    : KXModelObjectAsset(name), m_shape(makeOwnBoxPolygon(kShapeSide, kShapeSide)),
      m_color(new KXAttributeColor(kColor, this)) {
    m_color->setValue(cocos2d::ccc4f(255.0f, 255.0f, 255.0f, 255.0f), true);
}

KXModelObjectMirror::KXModelObjectMirror(const KXModelObjectMirror& source)
    : KXModelObjectAsset(source), m_shape(makeOwnBoxPolygon(kShapeSide, kShapeSide)),
      m_color(boundAttribute<KXAttributeColor>(*this, kColor)) {}

void KXModelObjectMirror::attributeChanged(KXBaseAttribute* attribute, int flag) {
    KXModelObjectAsset::attributeChanged(attribute, flag);
    KXAttributePoint* scale = scaleAttribute();
    if (attribute == nullptr || attribute != scale) {
        return;
    }
    const cocos2d::CCPoint value = scale->value();
    // Stores and notifies only when it differs, so the second round changes nothing.
    scale->setValue(cocos2d::CCPoint(clampedScale(value.x), clampedScale(value.y)), false);
}

std::shared_ptr<KXModelPolygon> KXModelObjectMirror::collisionShape() const {
    return m_shape;
}

cocos2d::CCSize KXModelObjectMirror::contentSize(float /*time*/) const {
    return cocos2d::CCSize(kContentSide, kContentSide);
}

cocos2d::ccColor4F KXModelObjectMirror::color() const {
    return attributeValue(m_color);
}
