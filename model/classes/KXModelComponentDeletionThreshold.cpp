#include "model/classes/KXModelComponentDeletionThreshold.h"

#include "model/classes/KXAttributeBinding.h"

namespace {
constexpr const char* kBack = "Back Deletion Threshold";
constexpr const char* kSides = "Sides Deletion Threshold";
} // namespace

KXModelComponentDeletionThreshold::KXModelComponentDeletionThreshold(const std::string& name)
    : KXModelComponent(name), m_backDeletionThreshold(new KXAttributeFloat(kBack, this, 0)),
      m_sidesDeletionThreshold(new KXAttributeFloat(kSides, this, 0)) {
    m_backDeletionThreshold->setValue(300.0f, true);
    m_sidesDeletionThreshold->setValue(550.0f, true);
}

KXModelComponentDeletionThreshold::KXModelComponentDeletionThreshold(
    const KXModelComponentDeletionThreshold& source)
    : KXModelComponent(source), m_backDeletionThreshold(boundAttribute<KXAttributeFloat>(*this, kBack)),
      m_sidesDeletionThreshold(boundAttribute<KXAttributeFloat>(*this, kSides)) {}

float KXModelComponentDeletionThreshold::backDeletionThreshold() const {
    return attributeValue(m_backDeletionThreshold);
}

float KXModelComponentDeletionThreshold::sidesDeletionThreshold() const {
    return attributeValue(m_sidesDeletionThreshold);
}
