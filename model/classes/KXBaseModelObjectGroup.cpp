#include "model/classes/KXBaseModelObjectGroup.h"

#include "model/classes/KXAttributeBinding.h"
#include "model/classes/KXModelObjectAssetCharacter.h"

namespace {
constexpr const char* kAutoDepthSorting = "Auto Depth Sorting";
constexpr const char* kSortDirection = "Sort Direction";
constexpr const char* kSortOrder = "Sort Order";

bool isCharacter(const std::shared_ptr<KXModel>& model) {
    return model && model->typeId() == KXModelObjectAssetCharacter::staticType();
}
} // namespace

KXBaseModelObjectGroup::KXBaseModelObjectGroup(const std::string& name)
    : KXModelObject(name), m_autoDepthSorting(new KXAttributeBool(kAutoDepthSorting, this)),
      m_sortDirection(new KXAttributeStringList(kSortDirection, this)),
      m_sortOrder(new KXAttributeStringList(kSortOrder, this)) {}

KXBaseModelObjectGroup::KXBaseModelObjectGroup(const KXBaseModelObjectGroup& source)
    : KXModelObject(source), m_autoDepthSorting(boundAttribute<KXAttributeBool>(*this, kAutoDepthSorting)),
      m_sortDirection(boundAttribute<KXAttributeStringList>(*this, kSortDirection)),
      m_sortOrder(boundAttribute<KXAttributeStringList>(*this, kSortOrder)) {}

void KXBaseModelObjectGroup::childAdded(const std::shared_ptr<KXModel>& child) {
    KXModelObject::childAdded(child);
    if (isCharacter(child)) {
        ++m_characterCount;
    }
}

void KXBaseModelObjectGroup::childRemoved(const std::shared_ptr<KXModel>& child) {
    KXModelObject::childRemoved(child);
    // Never below zero, whatever order the notifications come in.
    if (isCharacter(child) && m_characterCount > 0) {
        --m_characterCount;
    }
}

void KXBaseModelObjectGroup::allChildrenRemoved() {
    KXModelObject::allChildrenRemoved();
    m_characterCount = 0;
}

bool KXBaseModelObjectGroup::autoDepthSorting() const {
    return attributeValue(m_autoDepthSorting);
}
const std::string& KXBaseModelObjectGroup::sortDirection() const {
    return attributeText(m_sortDirection);
}
const std::string& KXBaseModelObjectGroup::sortOrder() const {
    return attributeText(m_sortOrder);
}
