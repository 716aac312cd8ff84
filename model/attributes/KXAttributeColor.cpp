#include "model/attributes/KXAttributeColor.h"
#include "base/CCDictionary.h"
#include "base/CCObject.h"
#include "base/CCString.h"
#include "base/ccTypes.h"

using namespace cocos2d;

void KXBaseAttributeColor::loadValueFromDictionary(CCObject* object) {
    CCDictionary* dictionary = dynamic_cast<CCDictionary*>(object);
    if (dictionary == nullptr) {
        return;
    }
    const ccColor4F colour{
        dictionary->valueForKey("r")->floatValue(), dictionary->valueForKey("g")->floatValue(),
        dictionary->valueForKey("b")->floatValue(), dictionary->valueForKey("a")->floatValue()};
    setValue(colour, true);
}

CCDictionary* KXBaseAttributeColor::saveValueToDictionary() const {
    CCDictionary* dictionary = CCDictionary::create();
    dictionary->setObject(CCString::createWithFormat("%f", m_value.r), "r");
    dictionary->setObject(CCString::createWithFormat("%f", m_value.g), "g");
    dictionary->setObject(CCString::createWithFormat("%f", m_value.b), "b");
    dictionary->setObject(CCString::createWithFormat("%f", m_value.a), "a");
    return dictionary;
}
