#include "model/classes/KXBaseModelObjectUnlocker.h"

#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXAttributeBinding.h"

namespace {
constexpr const char* kUnlockType = "Unlock Type";
constexpr const char* kObject = "Object";
} // namespace

KXBaseModelObjectUnlocker::KXBaseModelObjectUnlocker(const std::string& name)
    : KXModelObject(name), m_unlockType(new KXAttributeStringList(kUnlockType, this)),
      m_object(new KXAttributeStringList(kObject, this)) {}

KXBaseModelObjectUnlocker::KXBaseModelObjectUnlocker(const KXBaseModelObjectUnlocker& source)
    : KXModelObject(source), m_unlockType(boundAttribute<KXAttributeStringList>(*this, kUnlockType)),
      m_object(boundAttribute<KXAttributeStringList>(*this, kObject)) {}

KXBaseModelObjectUnlocker::~KXBaseModelObjectUnlocker() = default;

cocos2d::CCSize KXBaseModelObjectUnlocker::contentSize(float /*time*/) const {
    return cocos2d::CCSize(kContentExtent, kContentExtent);
}

const std::string& KXBaseModelObjectUnlocker::unlockType() const {
    return attributeText(m_unlockType);
}
const std::string& KXBaseModelObjectUnlocker::unlockObject() const {
    return attributeText(m_object);
}
