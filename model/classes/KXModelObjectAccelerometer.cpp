#include "model/classes/KXModelObjectAccelerometer.h"

#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXAttributeBinding.h"

namespace {
constexpr const char* kControlType = "Control Type";
constexpr const char* kActiveAxes = "Active Axes";
} // namespace

KXModelObjectAccelerometer::KXModelObjectAccelerometer(const std::string& name)
    : KXModelObjectManipulator(name), m_controlType(new KXAttributeStringList(kControlType, this)),
      m_activeAxes(new KXAttributeStringList(kActiveAxes, this)) {}

KXModelObjectAccelerometer::KXModelObjectAccelerometer(const KXModelObjectAccelerometer& source)
    : KXModelObjectManipulator(source),
      m_controlType(boundAttribute<KXAttributeStringList>(*this, kControlType)),
      m_activeAxes(boundAttribute<KXAttributeStringList>(*this, kActiveAxes)) {}

cocos2d::CCSize KXModelObjectAccelerometer::contentSize(float /*time*/) const {
    return cocos2d::CCSize(kContentExtent, kContentExtent);
}

const std::string& KXModelObjectAccelerometer::controlType() const {
    return attributeText(m_controlType);
}
const std::string& KXModelObjectAccelerometer::activeAxes() const {
    return attributeText(m_activeAxes);
}
