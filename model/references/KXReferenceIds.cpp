#include "model/references/KXReferenceIds.h"

#include "base/CCDictionary.h"
#include "base/CCString.h"
#include "model/KXModel.h"

bool referenceIdFromDictionary(cocos2d::CCObject* object, uint32_t& id) {
    auto* dictionary = dynamic_cast<cocos2d::CCDictionary*>(object);
    if (dictionary == nullptr) {
        return false;
    }
    const cocos2d::CCString* text = dictionary->valueForKey(kReferenceValueKey);
    if (text == nullptr || text->length() == 0) {
        return false;
    }
    id = text->uintValue();
    return true;
}

cocos2d::CCDictionary* addReferenceIdToDictionary(cocos2d::CCDictionary* dictionary, const KXModel* model) {
    if (model == nullptr) {
        return dictionary;
    }
    if (dictionary == nullptr) {
        dictionary = cocos2d::CCDictionary::create();
    }
    dictionary->setObject(cocos2d::CCString::createWithFormat("%u", model->id()), kReferenceValueKey);
    return dictionary;
}
