#include "model/classes/KXModelObjectGatekeeper.h"

#include "model/classes/KXAttributeBinding.h"
#include "model/classes/KXOwnPolygon.h"

namespace {
constexpr const char* kPassedAmount = "Passed Amount";
constexpr float kShapeSide = 60.0f;
constexpr float kContentSide = 60.0f;
} // namespace

KXModelObjectGatekeeper::KXModelObjectGatekeeper(const std::string& name)
    : KXModelObjectAsset(name), m_shape(makeOwnBoxPolygon(kShapeSide, kShapeSide)),
      m_passedAmount(new KXAttributeFloat(kPassedAmount, this, 0)) {
    m_passedAmount->setValue(1.0f, true);
}

KXModelObjectGatekeeper::KXModelObjectGatekeeper(const KXModelObjectGatekeeper& source)
    : KXModelObjectAsset(source), m_shape(makeOwnBoxPolygon(kShapeSide, kShapeSide)),
      m_passedAmount(boundAttribute<KXAttributeFloat>(*this, kPassedAmount)) {}

std::shared_ptr<KXModelPolygon> KXModelObjectGatekeeper::collisionShape() const {
    return m_shape;
}

cocos2d::CCSize KXModelObjectGatekeeper::contentSize(float /*time*/) const {
    return cocos2d::CCSize(kContentSide, kContentSide);
}

float KXModelObjectGatekeeper::passedAmount() const {
    return attributeValue(m_passedAmount);
}
