// Rectangle and size attributes: one "value" stored as an array of 4 or 2 float32.
#pragma once

#include "model/attributes/KXAttributeValue.h"

class KXAttributeRect : public KXAttributeValue<cocos2d::CCRect> {
    KX_TYPE_IDENTITY(KXAttributeRect)
    KX_ATTRIBUTE_CLONE(KXAttributeRect)

public:
    KXAttributeRect(const std::string& name, KXModel* owner)
        : KXAttributeValue<cocos2d::CCRect>(name, owner, 0u) {}
    KXAttributeRect(const std::string& name, KXModel* owner, const KXAttributeRect& source)
        : KXAttributeValue<cocos2d::CCRect>(name, owner, source) {}

    // "{{x,y},{w,h}}" with two decimals.
    void loadValueFromDictionary(cocos2d::CCObject* object) override;
    cocos2d::CCDictionary* saveValueToDictionary() const override;
};

class KXAttributeSize : public KXAttributeValue<cocos2d::CCSize> {
    KX_TYPE_IDENTITY(KXAttributeSize)
    KX_ATTRIBUTE_CLONE(KXAttributeSize)

public:
    KXAttributeSize(const std::string& name, KXModel* owner)
        : KXAttributeValue<cocos2d::CCSize>(name, owner, 0u) {}
    KXAttributeSize(const std::string& name, KXModel* owner, const KXAttributeSize& source)
        : KXAttributeValue<cocos2d::CCSize>(name, owner, source) {}

    // "{w,h}" with two decimals.
    void loadValueFromDictionary(cocos2d::CCObject* object) override;
    cocos2d::CCDictionary* saveValueToDictionary() const override;
};
