#pragma once

#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelObject.h"

#include <string>

// A layer whose children can be sorted by depth. Counts its direct character children.
class KXBaseModelObjectGroup : public KXModelObject {
public:
    explicit KXBaseModelObjectGroup(const std::string& name);
    // The count starts at 0: the copy's children bring it back up as they are added.
    KXBaseModelObjectGroup(const KXBaseModelObjectGroup& source);

    void childAdded(const std::shared_ptr<KXModel>& child) override;
    void childRemoved(const std::shared_ptr<KXModel>& child) override;
    void allChildrenRemoved() override;

    bool autoDepthSorting() const;
    const std::string& sortDirection() const;
    const std::string& sortOrder() const;
    unsigned int characterCount() const { return m_characterCount; }

private:
    KXAttributeBool* m_autoDepthSorting = nullptr;
    KXAttributeStringList* m_sortDirection = nullptr;
    KXAttributeStringList* m_sortOrder = nullptr;
    unsigned int m_characterCount = 0;
};
