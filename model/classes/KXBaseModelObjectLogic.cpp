#include "model/classes/KXBaseModelObjectLogic.h"

#include "model/classes/KXAttributeBinding.h"
#include "model/classes/KXOwnPolygon.h"

using cocos2d::CCPoint;

namespace {
constexpr const char* kPositionModifier = "Position Modifier";
constexpr const char* kRotationModifier = "Rotation Modifier";
constexpr const char* kScaleModifier = "Scale Modifier";
constexpr const char* kLinearVelocityModifier = "Linear Velocity Modifier";
constexpr const char* kAngularVelocityModifier = "Angular Velocity Modifier";
constexpr const char* kAffectedAsset = "Affected asset";
constexpr const char* kAffectOperation = "Affect operation";
constexpr float kShapeSide = 60.0f;

bool hasX(const KXAttributePoint* point) {
    return point == nullptr || !point->isXEmpty();
}
bool hasY(const KXAttributePoint* point) {
    return point == nullptr || !point->isYEmpty();
}
bool hasValue(const KXAttributeFloat* value) {
    return value == nullptr || !value->isEmpty();
}
} // namespace

KXBaseModelObjectLogic::KXBaseModelObjectLogic(const std::string& name)
    : KXModelObjectAsset(name), m_positionModifier(new KXAttributePoint(kPositionModifier, this, 0)),
      m_rotationModifier(new KXAttributeFloat(kRotationModifier, this, 0)),
      m_scaleModifier(new KXAttributePoint(kScaleModifier, this, 0)),
      m_linearVelocityModifier(new KXAttributePoint(kLinearVelocityModifier, this, 0)),
      m_angularVelocityModifier(new KXAttributeFloat(kAngularVelocityModifier, this, 0)),
      m_affectedAsset(new KXAttributeStringList(kAffectedAsset, this)),
      m_affectOperation(new KXAttributeStringList(kAffectOperation, this)) {
    for (KXAttributePoint* point : {m_positionModifier, m_scaleModifier, m_linearVelocityModifier}) {
        point->setEmptyAllowed(true, true);
    }
    m_rotationModifier->setEmptyAllowed(true);
    m_angularVelocityModifier->setEmptyAllowed(true);
    for (KXAttributePoint* point : {m_positionModifier, m_scaleModifier, m_linearVelocityModifier}) {
        point->setEmpty(true, true);
    }
    m_rotationModifier->setEmpty(true);
    m_angularVelocityModifier->setEmpty(true);
    m_shape = makeOwnBoxPolygon(kShapeSide, kShapeSide);
}

KXBaseModelObjectLogic::KXBaseModelObjectLogic(const KXBaseModelObjectLogic& source)
    : KXModelObjectAsset(source),
      m_positionModifier(boundAttribute<KXAttributePoint>(*this, kPositionModifier)),
      m_rotationModifier(boundAttribute<KXAttributeFloat>(*this, kRotationModifier)),
      m_scaleModifier(boundAttribute<KXAttributePoint>(*this, kScaleModifier)),
      m_linearVelocityModifier(boundAttribute<KXAttributePoint>(*this, kLinearVelocityModifier)),
      m_angularVelocityModifier(boundAttribute<KXAttributeFloat>(*this, kAngularVelocityModifier)),
      m_affectedAsset(boundAttribute<KXAttributeStringList>(*this, kAffectedAsset)),
      m_affectOperation(boundAttribute<KXAttributeStringList>(*this, kAffectOperation)),
      m_shape(makeOwnBoxPolygon(kShapeSide, kShapeSide)) {}

std::shared_ptr<KXModelPolygon> KXBaseModelObjectLogic::collisionShape() const {
    return m_shape;
}

cocos2d::CCSize KXBaseModelObjectLogic::contentSize(float /*time*/) const {
    return cocos2d::CCSize(kShapeSide, kShapeSide);
}

bool KXBaseModelObjectLogic::hasPositionModifierX() const {
    return hasX(m_positionModifier);
}
bool KXBaseModelObjectLogic::hasPositionModifierY() const {
    return hasY(m_positionModifier);
}
bool KXBaseModelObjectLogic::hasRotationModifier() const {
    return hasValue(m_rotationModifier);
}
bool KXBaseModelObjectLogic::hasScaleModifierX() const {
    return hasX(m_scaleModifier);
}
bool KXBaseModelObjectLogic::hasScaleModifierY() const {
    return hasY(m_scaleModifier);
}
bool KXBaseModelObjectLogic::hasLinearVelocityModifierX() const {
    return hasX(m_linearVelocityModifier);
}
bool KXBaseModelObjectLogic::hasLinearVelocityModifierY() const {
    return hasY(m_linearVelocityModifier);
}
bool KXBaseModelObjectLogic::hasLinearVelocityModifier() const {
    return hasLinearVelocityModifierX() || hasLinearVelocityModifierY();
}
bool KXBaseModelObjectLogic::hasAngularVelocityModifier() const {
    return hasValue(m_angularVelocityModifier);
}

CCPoint KXBaseModelObjectLogic::positionModifier() const {
    return attributeValue(m_positionModifier);
}
float KXBaseModelObjectLogic::rotationModifier() const {
    return attributeValue(m_rotationModifier);
}
CCPoint KXBaseModelObjectLogic::scaleModifier() const {
    return attributeValue(m_scaleModifier);
}
CCPoint KXBaseModelObjectLogic::linearVelocityModifier() const {
    return attributeValue(m_linearVelocityModifier);
}
float KXBaseModelObjectLogic::angularVelocityModifier() const {
    return attributeValue(m_angularVelocityModifier);
}
const std::string& KXBaseModelObjectLogic::affectedAsset() const {
    return attributeText(m_affectedAsset);
}
int64_t KXBaseModelObjectLogic::affectedAssetValue() const {
    return leadingInteger(affectedAsset());
}
uint32_t KXBaseModelObjectLogic::affectedAssetId() const {
    return leadingId(affectedAsset());
}
const std::string& KXBaseModelObjectLogic::affectOperation() const {
    return attributeText(m_affectOperation);
}
