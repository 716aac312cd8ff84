#include "model/classes/KXModelObjectTeleport.h"

#include "model/classes/KXAttributeBinding.h"
#include "model/classes/KXOwnPolygon.h"

namespace {
constexpr const char* kGroupId = "Group ID";
constexpr const char* kDeleteInputObject = "Delete Input Object";
constexpr const char* kSingleUse = "Single Use";
constexpr const char* kExitOnly = "Exit Only";
constexpr const char* kSearchRadius = "Search Radius";
constexpr float kShapeSide = 60.0f;
constexpr float kContentSide = 60.0f;
} // namespace

KXModelObjectTeleport::KXModelObjectTeleport(const std::string& name)
    : KXModelObjectAsset(name), m_shape(makeOwnBoxPolygon(kShapeSide, kShapeSide)),
      m_groupId(new KXAttributeFloat(kGroupId, this, 0)),
      m_deleteInputObject(new KXAttributeBool(kDeleteInputObject, this)),
      m_singleUse(new KXAttributeBool(kSingleUse, this)), m_exitOnly(new KXAttributeBool(kExitOnly, this)),
      m_searchRadius(new KXAttributeFloat(kSearchRadius, this, 0)) {
    m_deleteInputObject->setValue(true, true);
    m_singleUse->setValue(true, true);
    m_searchRadius->setValue(600.0f, true);
}

KXModelObjectTeleport::KXModelObjectTeleport(const KXModelObjectTeleport& source)
    : KXModelObjectAsset(source), m_shape(source.collisionShape()),
      m_groupId(boundAttribute<KXAttributeFloat>(*this, kGroupId)),
      m_deleteInputObject(boundAttribute<KXAttributeBool>(*this, kDeleteInputObject)),
      m_singleUse(boundAttribute<KXAttributeBool>(*this, kSingleUse)),
      m_exitOnly(boundAttribute<KXAttributeBool>(*this, kExitOnly)),
      m_searchRadius(boundAttribute<KXAttributeFloat>(*this, kSearchRadius)) {}

std::shared_ptr<KXModelPolygon> KXModelObjectTeleport::collisionShape() const {
    return m_shape;
}

cocos2d::CCSize KXModelObjectTeleport::contentSize(float /*time*/) const {
    return cocos2d::CCSize(kContentSide, kContentSide);
}

float KXModelObjectTeleport::groupId() const {
    return attributeValue(m_groupId);
}
bool KXModelObjectTeleport::deleteInputObject() const {
    return attributeValue(m_deleteInputObject);
}
bool KXModelObjectTeleport::singleUse() const {
    return attributeValue(m_singleUse);
}
bool KXModelObjectTeleport::exitOnly() const {
    return attributeValue(m_exitOnly);
}
float KXModelObjectTeleport::searchRadius() const {
    return attributeValue(m_searchRadius);
}
