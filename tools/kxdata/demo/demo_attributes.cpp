#include "tools/kxdata/demo/demo_attributes.h"

#include <stdexcept>

#include "model/KXModel.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/references/KXAttributeAnimation.h"
#include "model/references/KXAttributeSound.h"
#include "model/references/KXAttributeSprite.h"

namespace kxdata {
namespace demo {

namespace {

template <class T> T& attributeOf(KXModel& model, const char* name) {
    auto* attribute = dynamic_cast<T*>(model.attribute(name));
    if (attribute == nullptr) {
        throw std::runtime_error(model.className() + std::string(" has no attribute ") + name);
    }
    return *attribute;
}

} // namespace

void setText(KXModel& model, const char* name, const std::string& value) {
    if (auto* list = dynamic_cast<KXAttributeStringList*>(model.attribute(name))) {
        list->setValue(value, true);
    } else {
        attributeOf<KXAttributeString>(model, name).setValue(value, true);
    }
}

void setFloat(KXModel& model, const char* name, float value) {
    attributeOf<KXAttributeFloat>(model, name).setValue(value, true);
}

void setFloat(KXModel& model, const char* name, float value, float variance) {
    KXAttributeFloat& attribute = attributeOf<KXAttributeFloat>(model, name);
    attribute.setValue(value, true);
    attribute.setVariableValue(variance);
}

void setBool(KXModel& model, const char* name, bool value) {
    attributeOf<KXAttributeBool>(model, name).setValue(value, true);
}

void setPoint(KXModel& model, const char* name, cocos2d::CCPoint value) {
    KXBaseAttributePoint& point = attributeOf<KXBaseAttributePoint>(model, name);
    point.setEmpty(false, true);
    point.setValue(value, true);
}

void setSprite(KXModel& model, const char* name, const std::shared_ptr<KXModelSpriteContainer>& sprite) {
    attributeOf<KXAttributeSprite>(model, name).setValue(sprite, true);
}

void setAnimation(KXModel& model, const char* name, const std::shared_ptr<KXModelAnimation>& animation) {
    attributeOf<KXAttributeAnimation>(model, name).setValue(animation, true);
}

void setSound(KXModel& model, const char* name, const std::shared_ptr<KXModelSound>& sound) {
    attributeOf<KXAttributeSound>(model, name).setValue(sound, true);
}

} // namespace demo
} // namespace kxdata
