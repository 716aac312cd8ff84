#include "model/references/KXReferencedValues.h"

#include "model/KXModel.h"
#include "model/attributes/KXAttributeNumbers.h"

namespace {

template <class A> A* typedAttribute(const KXModel& model, const std::string& name) {
    KXBaseAttribute* found = model.attribute(name);
    if (found == nullptr || found->typeId() != A::staticType()) {
        return nullptr;
    }
    return static_cast<A*>(found);
}

} // namespace

bool modelBoolValue(const KXModel& model, const std::string& name, bool fallback) {
    const KXAttributeBool* attribute = typedAttribute<KXAttributeBool>(model, name);
    return attribute != nullptr ? attribute->value() : fallback;
}

void setModelBoolValue(KXModel& model, const std::string& name, bool value) {
    if (KXAttributeBool* attribute = typedAttribute<KXAttributeBool>(model, name)) {
        attribute->setValue(value);
    }
}

void setModelFloatValue(KXModel& model, const std::string& name, float value) {
    if (KXAttributeFloat* attribute = typedAttribute<KXAttributeFloat>(model, name)) {
        attribute->setValue(value);
    }
}
