#include "model/classes/KXModelComponentCharacterIcon.h"

#include "model/classes/KXAttributeBinding.h"

namespace {
constexpr const char* kRegularIcon = "Regular Icon";
constexpr const char* kLockedIcon = "Locked Icon";
constexpr const char* kSelectedIcon = "Selected Icon";
} // namespace

KXModelComponentCharacterIcon::KXModelComponentCharacterIcon(const std::string& name)
    : KXModelComponent(name), m_regularIcon(new KXAttributeAnimation(kRegularIcon, this, 0)),
      m_lockedIcon(new KXAttributeAnimation(kLockedIcon, this, 0)),
      m_selectedIcon(new KXAttributeAnimation(kSelectedIcon, this, 0)) {}

KXModelComponentCharacterIcon::KXModelComponentCharacterIcon(const KXModelComponentCharacterIcon& source)
    : KXModelComponent(source), m_regularIcon(boundAttribute<KXAttributeAnimation>(*this, kRegularIcon)),
      m_lockedIcon(boundAttribute<KXAttributeAnimation>(*this, kLockedIcon)),
      m_selectedIcon(boundAttribute<KXAttributeAnimation>(*this, kSelectedIcon)) {}

std::shared_ptr<KXModelAnimation> KXModelComponentCharacterIcon::regularIcon() const {
    return attributeValue(m_regularIcon);
}

std::shared_ptr<KXModelAnimation> KXModelComponentCharacterIcon::lockedIcon() const {
    return attributeValue(m_lockedIcon);
}

std::shared_ptr<KXModelAnimation> KXModelComponentCharacterIcon::selectedIcon() const {
    return attributeValue(m_selectedIcon);
}
