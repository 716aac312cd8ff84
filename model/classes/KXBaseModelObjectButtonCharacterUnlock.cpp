#include "model/classes/KXBaseModelObjectButtonCharacterUnlock.h"

#include "model/classes/KXAttributeBinding.h"

namespace {
constexpr const char* kCharacter = "Character";
constexpr const char* kShowWhenSelected = "Show When Selected";
} // namespace

KXBaseModelObjectButtonCharacterUnlock::KXBaseModelObjectButtonCharacterUnlock(const std::string& name)
    : KXModelObjectButton(name), m_character(new KXAttributeStringList(kCharacter, this)),
      m_showWhenSelected(new KXAttributeBool(kShowWhenSelected, this)) {}

KXBaseModelObjectButtonCharacterUnlock::KXBaseModelObjectButtonCharacterUnlock(
    const KXBaseModelObjectButtonCharacterUnlock& source)
    : KXModelObjectButton(source), m_character(boundAttribute<KXAttributeStringList>(*this, kCharacter)),
      m_showWhenSelected(boundAttribute<KXAttributeBool>(*this, kShowWhenSelected)) {}

const std::string& KXBaseModelObjectButtonCharacterUnlock::character() const {
    return attributeText(m_character);
}

bool KXBaseModelObjectButtonCharacterUnlock::showWhenSelected() const {
    return attributeValue(m_showWhenSelected);
}
