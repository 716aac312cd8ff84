#include "model/classes/KXBaseModelObjectButtonPurchase.h"

#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXAttributeBinding.h"
#include "model/references/KXAttributeSound.h"

namespace {
constexpr const char* kType = "Type";
constexpr const char* kVisibilityThreshold = "Visibility Threshold";
constexpr const char* kBuyAndUse = "Buy And Use";
constexpr const char* kQuantity = "Quantity";
constexpr const char* kPurchaseComplete = "Purchase Complete";
constexpr const char* kPurchaseMethod = "Purchase Method";
constexpr const char* kPrice = "Price";
constexpr const char* kOneTimePurchase = "One Time Purchase";
constexpr const char* kStoreIdentifier = "Store Identifier";
constexpr const char* kAdNetwork = "Ad Network";
} // namespace

KXBaseModelObjectButtonPurchase::KXBaseModelObjectButtonPurchase(const std::string& name)
    : KXModelObjectButton(name), m_type(new KXAttributeStringList(kType, nullptr)),
      m_visibilityThreshold(new KXAttributeFloat(kVisibilityThreshold, nullptr)),
      m_buyAndUse(new KXAttributeBool(kBuyAndUse, this)), m_quantity(new KXAttributeFloat(kQuantity, this)),
      m_purchaseComplete(new KXAttributeSound(kPurchaseComplete, this)),
      m_purchaseMethod(new KXAttributeStringList(kPurchaseMethod, this)),
      m_price(new KXAttributeFloat(kPrice, this)),
      m_oneTimePurchase(new KXAttributeStringList(kOneTimePurchase, this)),
      m_storeIdentifier(new KXAttributeString(kStoreIdentifier, this)),
      m_adNetwork(new KXAttributeStringList(kAdNetwork, this)) {
    m_quantity->setValue(1.0f, true);

    KXBaseAttribute* selection = actionAttribute();
    if (selection != nullptr) {
        selection->setName(kPowerupSelectionName, true);
    }
    // "Type" and "Visibility Threshold" are stored right after the selection; without one
    // they go last, so that the model still owns them.
    const int selectionIndex = selection != nullptr ? attributeIndex(selection) : -1;
    const int index = selectionIndex < 0 ? -1 : selectionIndex + 1;
    insertAttribute(m_type, index);
    insertAttribute(m_visibilityThreshold, index < 0 ? -1 : index + 1);
}

KXBaseModelObjectButtonPurchase::KXBaseModelObjectButtonPurchase(
    const KXBaseModelObjectButtonPurchase& source)
    : KXModelObjectButton(source), m_type(boundAttribute<KXAttributeStringList>(*this, kType)),
      m_visibilityThreshold(boundAttribute<KXAttributeFloat>(*this, kVisibilityThreshold)),
      m_buyAndUse(boundAttribute<KXAttributeBool>(*this, kBuyAndUse)),
      m_quantity(boundAttribute<KXAttributeFloat>(*this, kQuantity)),
      m_purchaseComplete(boundAttribute<KXAttributeSound>(*this, kPurchaseComplete)),
      m_purchaseMethod(boundAttribute<KXAttributeStringList>(*this, kPurchaseMethod)),
      m_price(boundAttribute<KXAttributeFloat>(*this, kPrice)),
      m_oneTimePurchase(boundAttribute<KXAttributeStringList>(*this, kOneTimePurchase)),
      m_storeIdentifier(boundAttribute<KXAttributeString>(*this, kStoreIdentifier)),
      m_adNetwork(boundAttribute<KXAttributeStringList>(*this, kAdNetwork)) {
    bindActionAttribute(kPowerupSelectionName);
}

uint32_t KXBaseModelObjectButtonPurchase::powerupSelectionId() const {
    return leadingId(action());
}
std::string KXBaseModelObjectButtonPurchase::purchaseType() const {
    return attributeText(m_type);
}
float KXBaseModelObjectButtonPurchase::visibilityThreshold() const {
    return attributeValue(m_visibilityThreshold);
}
bool KXBaseModelObjectButtonPurchase::buyAndUse() const {
    return attributeValue(m_buyAndUse);
}
float KXBaseModelObjectButtonPurchase::quantity() const {
    return attributeValue(m_quantity);
}
std::shared_ptr<KXModelSound> KXBaseModelObjectButtonPurchase::purchaseCompleteSound() const {
    return m_purchaseComplete != nullptr ? m_purchaseComplete->value() : nullptr;
}
const std::string& KXBaseModelObjectButtonPurchase::purchaseMethod() const {
    return attributeText(m_purchaseMethod);
}
float KXBaseModelObjectButtonPurchase::price() const {
    return attributeValue(m_price);
}
const std::string& KXBaseModelObjectButtonPurchase::oneTimePurchase() const {
    return attributeText(m_oneTimePurchase);
}
const std::string& KXBaseModelObjectButtonPurchase::storeIdentifier() const {
    return attributeText(m_storeIdentifier);
}
const std::string& KXBaseModelObjectButtonPurchase::adNetwork() const {
    return attributeText(m_adNetwork);
}
