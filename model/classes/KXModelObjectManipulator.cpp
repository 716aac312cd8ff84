#include "model/classes/KXModelObjectManipulator.h"

#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXAttributeBinding.h"

namespace {
constexpr const char* kSensitivity = "Sensitivity";
constexpr const char* kControlStyle = "Control Style";
} // namespace

KXModelObjectManipulator::KXModelObjectManipulator(const std::string& name)
    : KXModelObject(name), m_sensitivity(new KXAttributeFloat(kSensitivity, this)),
      m_controlStyle(new KXAttributeStringList(kControlStyle, this)) {}

KXModelObjectManipulator::KXModelObjectManipulator(const KXModelObjectManipulator& source)
    : KXModelObject(source), m_sensitivity(boundAttribute<KXAttributeFloat>(*this, kSensitivity)),
      m_controlStyle(boundAttribute<KXAttributeStringList>(*this, kControlStyle)) {}

float KXModelObjectManipulator::sensitivity() const {
    return attributeValue(m_sensitivity);
}
const std::string& KXModelObjectManipulator::controlStyle() const {
    return attributeText(m_controlStyle);
}
