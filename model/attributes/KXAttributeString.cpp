#include "model/attributes/KXAttributeString.h"

#include "base/CCDictionary.h"
#include "base/CCObject.h"
#include "base/CCString.h"
#include "model/attributes/KXUtf8.h"

using namespace cocos2d;

KXAttributeString::KXAttributeString(const std::string& name, KXModel* owner)
    : KXAttributeValue<std::string>(name, owner, 0u) {}

KXAttributeString::KXAttributeString(const std::string& name, KXModel* owner, const KXAttributeString& source)
    : KXAttributeValue<std::string>(name, owner, source), m_maximumLength(source.m_maximumLength) {}

void KXAttributeString::setValue(const std::string& value, bool silent) {
    const size_t length = kxattr::utf8PrefixLength(value, m_maximumLength);
    if (length == value.size()) {
        KXAttributeValue<std::string>::setValue(value, silent);
    } else {
        KXAttributeValue<std::string>::setValue(value.substr(0, length), silent);
    }
}

void KXAttributeString::loadValueFromDictionary(CCObject* object) {
    CCDictionary* dictionary = dynamic_cast<CCDictionary*>(object);
    if (dictionary == nullptr) {
        return;
    }
    const std::string& text = dictionary->valueForKey("value")->getString();
    if (!text.empty()) {
        setValue(text, true);
    }
}

CCDictionary* KXAttributeString::saveValueToDictionary() const {
    CCDictionary* dictionary = CCDictionary::create();
    dictionary->setObject(CCString::create(m_value), "value");
    return dictionary;
}
