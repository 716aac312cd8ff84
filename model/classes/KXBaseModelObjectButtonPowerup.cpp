#include "model/classes/KXBaseModelObjectButtonPowerup.h"

#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXAttributeBinding.h"

namespace {
constexpr const char* kForceActionOnPress = "Force Action on Press";
constexpr const char* kLayering = "Layering";
constexpr const char* kVisibilityThreshold = "Visibility Threshold";
constexpr const char* kLabelOffset = "Label Offset";
constexpr const char* kLabelScale = "Label Scale";
constexpr const char* kLabelVerticalSpacing = "Label Vertical Spacing";
constexpr const char* kUnlimitedUse = "Unlimited Use";
constexpr const char* kMaxRefill = "Max Refill";
constexpr const char* kRefillTimeout = "Refill Timeout";
constexpr const char* kRefillAtStart = "Refill At Start";
} // namespace

KXBaseModelObjectButtonPowerup::KXBaseModelObjectButtonPowerup(const std::string& name)
    : KXModelObjectButton(name), m_forceActionOnPress(new KXAttributeBool(kForceActionOnPress, nullptr)),
      m_layering(new KXAttributeStringList(kLayering, nullptr)),
      m_visibilityThreshold(new KXAttributeFloat(kVisibilityThreshold, nullptr)),
      m_labelOffset(new KXAttributePoint(kLabelOffset, this)),
      m_labelScale(new KXAttributeFloat(kLabelScale, this)),
      m_labelVerticalSpacing(new KXAttributeFloat(kLabelVerticalSpacing, this)),
      m_unlimitedUse(new KXAttributeBool(kUnlimitedUse, this)),
      m_maxRefill(new KXAttributeFloat(kMaxRefill, this)),
      m_refillTimeout(new KXAttributeFloat(kRefillTimeout, this)),
      m_refillAtStart(new KXAttributeBool(kRefillAtStart, this)) {
    m_labelScale->setValue(0.5f, true);
    m_labelVerticalSpacing->setValue(100.0f, true);
    m_maxRefill->setValue(3.0f, true);

    KXBaseAttribute* selection = actionAttribute();
    if (selection != nullptr) {
        selection->setName(kPowerupSelectionName, true);
    }
    // The first three are stored right after the selection, in this order.
    const int selectionIndex = selection != nullptr ? attributeIndex(selection) : -1;
    int index = selectionIndex < 0 ? -1 : selectionIndex + 1;
    for (KXBaseAttribute* inserted :
         {static_cast<KXBaseAttribute*>(m_forceActionOnPress), static_cast<KXBaseAttribute*>(m_layering),
          static_cast<KXBaseAttribute*>(m_visibilityThreshold)}) {
        insertAttribute(inserted, index);
        if (index >= 0) {
            ++index;
        }
    }
}

KXBaseModelObjectButtonPowerup::KXBaseModelObjectButtonPowerup(const KXBaseModelObjectButtonPowerup& source)
    : KXModelObjectButton(source),
      m_forceActionOnPress(boundAttribute<KXAttributeBool>(*this, kForceActionOnPress)),
      m_layering(boundAttribute<KXAttributeStringList>(*this, kLayering)),
      m_visibilityThreshold(boundAttribute<KXAttributeFloat>(*this, kVisibilityThreshold)),
      m_labelOffset(boundAttribute<KXAttributePoint>(*this, kLabelOffset)),
      m_labelScale(boundAttribute<KXAttributeFloat>(*this, kLabelScale)),
      m_labelVerticalSpacing(boundAttribute<KXAttributeFloat>(*this, kLabelVerticalSpacing)),
      m_unlimitedUse(boundAttribute<KXAttributeBool>(*this, kUnlimitedUse)),
      m_maxRefill(boundAttribute<KXAttributeFloat>(*this, kMaxRefill)),
      m_refillTimeout(boundAttribute<KXAttributeFloat>(*this, kRefillTimeout)),
      m_refillAtStart(boundAttribute<KXAttributeBool>(*this, kRefillAtStart)) {
    bindActionAttribute(kPowerupSelectionName);
}

bool KXBaseModelObjectButtonPowerup::forceActionOnPress() const {
    return attributeValue(m_forceActionOnPress);
}
const std::string& KXBaseModelObjectButtonPowerup::layering() const {
    return attributeText(m_layering);
}
float KXBaseModelObjectButtonPowerup::visibilityThreshold() const {
    return attributeValue(m_visibilityThreshold);
}
cocos2d::CCPoint KXBaseModelObjectButtonPowerup::labelOffset() const {
    return attributeValue(m_labelOffset);
}
float KXBaseModelObjectButtonPowerup::labelScale() const {
    return attributeValue(m_labelScale);
}
float KXBaseModelObjectButtonPowerup::labelVerticalSpacing() const {
    return attributeValue(m_labelVerticalSpacing);
}
bool KXBaseModelObjectButtonPowerup::unlimitedUse() const {
    return attributeValue(m_unlimitedUse);
}
float KXBaseModelObjectButtonPowerup::maxRefill() const {
    return attributeValue(m_maxRefill);
}
float KXBaseModelObjectButtonPowerup::refillTimeout() const {
    return attributeValue(m_refillTimeout);
}
bool KXBaseModelObjectButtonPowerup::refillAtStart() const {
    return attributeValue(m_refillAtStart);
}
