// Stored values set by attribute name, for model classes whose attributes have no typed setter.
// A name the class does not have (or of another type) throws: a writer's typo must not silently
// write a game without the value.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>

#include "cocos2d.h"
#include "model/KXModel.h"

class KXModelAnimation;
class KXModelSound;
class KXModelSpriteContainer;

namespace kxdata {
namespace demo {

// The attribute `name` of type Attribute given `value`.
template <class Attribute, class Value> void setValue(KXModel& model, const char* name, const Value& value) {
    auto* attribute = dynamic_cast<Attribute*>(model.attribute(name));
    if (attribute == nullptr) {
        throw std::runtime_error(model.className() + std::string(" has no attribute ") + name);
    }
    attribute->setValue(value, true);
}

// A text, or the first entry of a text list.
void setText(KXModel& model, const char* name, const std::string& value);
void setFloat(KXModel& model, const char* name, float value);
// The value and how far a random draw of it may stray either way.
void setFloat(KXModel& model, const char* name, float value, float variance);
void setBool(KXModel& model, const char* name, bool value);
// A point, marked as given (not left blank).
void setPoint(KXModel& model, const char* name, cocos2d::CCPoint value);
void setSprite(KXModel& model, const char* name, const std::shared_ptr<KXModelSpriteContainer>& sprite);
void setAnimation(KXModel& model, const char* name, const std::shared_ptr<KXModelAnimation>& animation);
void setSound(KXModel& model, const char* name, const std::shared_ptr<KXModelSound>& sound);

} // namespace demo
} // namespace kxdata
