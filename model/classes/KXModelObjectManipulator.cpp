#include "model/classes/KXModelObjectManipulator.h"

#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXAttributeBinding.h"

namespace {
constexpr const char* kSensitivity = "Sensitivity";
constexpr const char* kControlStyle = "Control Style";
} // namespace

std::shared_ptr<KXModel> KXModelObjectManipulator::create() {
    return KXModel::makeShared<KXModelObjectManipulator>(kDefaultObjectName);
}

std::shared_ptr<KXModel> KXModelObjectManipulator::createCopy(const KXModelObjectManipulator& source) {
    return KXModel::makeShared<KXModelObjectManipulator>(source);
}

KXModelObjectManipulator::KXModelObjectManipulator(const std::string& name)
    : KXModelObject(name), m_sensitivity(new KXAttributeFloat(kSensitivity, this)),
      m_controlStyle(new KXAttributeStringList(kControlStyle, this)) {}

KXModelObjectManipulator::KXModelObjectManipulator(const KXModelObjectManipulator& source)
    : KXModelObject(source), m_sensitivity(boundAttribute<KXAttributeFloat>(*this, kSensitivity)),
      m_controlStyle(boundAttribute<KXAttributeStringList>(*this, kControlStyle)) {}

std::shared_ptr<KXModel> KXModelObjectManipulator::clone(bool deep, bool registerClone) const {
    return finishClone(createCopy(*this), deep, registerClone);
}

float KXModelObjectManipulator::sensitivity() const {
    return attributeValue(m_sensitivity);
}
const std::string& KXModelObjectManipulator::controlStyle() const {
    return attributeText(m_controlStyle);
}
