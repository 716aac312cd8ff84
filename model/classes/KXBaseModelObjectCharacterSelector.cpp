#include "model/classes/KXBaseModelObjectCharacterSelector.h"

#include "model/classes/KXAttributeBinding.h"

namespace {
constexpr const char* kLabelVisibility = "Label Visibility";
constexpr const char* kLabelVerticalSpacing = "Label Vertical Spacing";
constexpr const char* kLabelName = "Label Name";
constexpr const char* kUnlockButton = "Unlock Button";
constexpr const char* kUnlockYes = "Unlock Yes";
constexpr const char* kUnlockNo = "Unlock No";
constexpr const char* kUnlockSuggestion = "Unlock Suggestion";
constexpr const char* kSpread = "Spread";
} // namespace

KXBaseModelObjectCharacterSelector::KXBaseModelObjectCharacterSelector(const std::string& name)
    : KXModelObject(name), m_labelVisibility(new KXAttributeBool(kLabelVisibility, this)),
      m_labelVerticalSpacing(new KXAttributeFloat(kLabelVerticalSpacing, this, 0)),
      m_labelName(new KXAttributeStringList(kLabelName, this)),
      m_unlockButton(new KXAttributeAnimation(kUnlockButton, this, 0)),
      m_unlockYes(new KXAttributeSound(kUnlockYes, this, 0)),
      m_unlockNo(new KXAttributeSound(kUnlockNo, this, 0)),
      m_unlockSuggestion(new KXAttributeAnimation(kUnlockSuggestion, this, 0)),
      m_spread(new KXAttributeFloat(kSpread, this, 0)) {
    m_labelVisibility->setValue(true, true);
    m_labelVerticalSpacing->setValue(100.0f, true);
    m_spread->setValue(100.0f, true);
}

KXBaseModelObjectCharacterSelector::KXBaseModelObjectCharacterSelector(
    const KXBaseModelObjectCharacterSelector& source)
    : KXModelObject(source), m_labelVisibility(boundAttribute<KXAttributeBool>(*this, kLabelVisibility)),
      m_labelVerticalSpacing(boundAttribute<KXAttributeFloat>(*this, kLabelVerticalSpacing)),
      m_labelName(boundAttribute<KXAttributeStringList>(*this, kLabelName)),
      m_unlockButton(boundAttribute<KXAttributeAnimation>(*this, kUnlockButton)),
      m_unlockYes(boundAttribute<KXAttributeSound>(*this, kUnlockYes)),
      m_unlockNo(boundAttribute<KXAttributeSound>(*this, kUnlockNo)),
      m_unlockSuggestion(boundAttribute<KXAttributeAnimation>(*this, kUnlockSuggestion)),
      m_spread(boundAttribute<KXAttributeFloat>(*this, kSpread)) {}

bool KXBaseModelObjectCharacterSelector::labelVisibility() const {
    return attributeValue(m_labelVisibility);
}
float KXBaseModelObjectCharacterSelector::labelVerticalSpacing() const {
    return attributeValue(m_labelVerticalSpacing);
}
const std::string& KXBaseModelObjectCharacterSelector::labelName() const {
    return attributeText(m_labelName);
}
uint32_t KXBaseModelObjectCharacterSelector::labelNameValue() const {
    return leadingId(labelName());
}
std::shared_ptr<KXModelAnimation> KXBaseModelObjectCharacterSelector::unlockButton() const {
    return attributeValue(m_unlockButton);
}
std::shared_ptr<KXModelSound> KXBaseModelObjectCharacterSelector::unlockYes() const {
    return attributeValue(m_unlockYes);
}
std::shared_ptr<KXModelSound> KXBaseModelObjectCharacterSelector::unlockNo() const {
    return attributeValue(m_unlockNo);
}
std::shared_ptr<KXModelAnimation> KXBaseModelObjectCharacterSelector::unlockSuggestion() const {
    return attributeValue(m_unlockSuggestion);
}
float KXBaseModelObjectCharacterSelector::spread() const {
    return attributeValue(m_spread);
}
