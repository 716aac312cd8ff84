#include "model/attributes/KXAttributeGeometry.h"
#include "base/CCDictionary.h"
#include "base/CCObject.h"
#include "base/CCString.h"

using namespace cocos2d;

namespace {
// The non-empty "value" text of a dictionary, or null.
const CCString* valueText(CCObject* object) {
    CCDictionary* dictionary = dynamic_cast<CCDictionary*>(object);
    if (dictionary == nullptr) {
        return nullptr;
    }
    const CCString* text = dictionary->valueForKey("value");
    return text->length() > 0 ? text : nullptr;
}
} // namespace

void KXAttributeRect::loadValueFromDictionary(CCObject* object) {
    if (const CCString* text = valueText(object)) {
        setValue(CCRectFromString(text->getCString()), true);
    }
}

CCDictionary* KXAttributeRect::saveValueToDictionary() const {
    CCDictionary* dictionary = CCDictionary::create();
    dictionary->setObject(CCString::createWithFormat("{{%.2f,%.2f},{%.2f,%.2f}}", m_value.origin.x,
                                                     m_value.origin.y, m_value.size.width,
                                                     m_value.size.height),
                          "value");
    return dictionary;
}

void KXAttributeSize::loadValueFromDictionary(CCObject* object) {
    if (const CCString* text = valueText(object)) {
        setValue(CCSizeFromString(text->getCString()), true);
    }
}

CCDictionary* KXAttributeSize::saveValueToDictionary() const {
    CCDictionary* dictionary = CCDictionary::create();
    dictionary->setObject(CCString::createWithFormat("{%.2f,%.2f}", m_value.width, m_value.height), "value");
    return dictionary;
}
