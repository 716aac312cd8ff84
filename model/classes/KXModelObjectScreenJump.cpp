#include "model/classes/KXModelObjectScreenJump.h"

#include "model/classes/KXAttributeBinding.h"
#include "model/classes/KXOwnPolygon.h"

namespace {
constexpr const char* kFunction = "Function";
constexpr const char* kPauseCurrentWorld = "Pause Current World";
constexpr float kShapeSide = 60.0f;
constexpr float kContentSide = 60.0f;
} // namespace

KXModelObjectScreenJump::KXModelObjectScreenJump(const std::string& name)
    : KXModelObjectAsset(name), m_shape(makeOwnBoxPolygon(kShapeSide, kShapeSide)),
      m_function(new KXAttributeStringList(kFunction, this)),
      m_pauseCurrentWorld(new KXAttributeBool(kPauseCurrentWorld, this)) {}

KXModelObjectScreenJump::KXModelObjectScreenJump(const KXModelObjectScreenJump& source)
    : KXModelObjectAsset(source), m_shape(makeOwnBoxPolygon(kShapeSide, kShapeSide)),
      m_function(boundAttribute<KXAttributeStringList>(*this, kFunction)),
      m_pauseCurrentWorld(boundAttribute<KXAttributeBool>(*this, kPauseCurrentWorld)) {}

std::shared_ptr<KXModelPolygon> KXModelObjectScreenJump::collisionShape() const {
    return m_shape;
}

cocos2d::CCSize KXModelObjectScreenJump::contentSize(float /*time*/) const {
    return cocos2d::CCSize(kContentSide, kContentSide);
}

const std::string& KXModelObjectScreenJump::function() const {
    return attributeText(m_function);
}
bool KXModelObjectScreenJump::pauseCurrentWorld() const {
    return attributeValue(m_pauseCurrentWorld);
}
