// Colour attributes: one RGBA colour (components nominally 0 to 1, not clamped) stored under
// "value" as an array of 4 float32.
#pragma once

#include "model/attributes/KXAttributeValue.h"

class KXBaseAttributeColor : public KXAttributeValue<cocos2d::ccColor4F> {
public:
    KXBaseAttributeColor(const std::string& name, KXModel* owner)
        : KXAttributeValue<cocos2d::ccColor4F>(name, owner, 0u) {}
    KXBaseAttributeColor(const std::string& name, KXModel* owner, const KXBaseAttributeColor& source)
        : KXAttributeValue<cocos2d::ccColor4F>(name, owner, source) {}

    // "r", "g", "b", "a" as "%f" text; a missing component reads as 0; no notification.
    void loadValueFromDictionary(cocos2d::CCObject* object) override;
    cocos2d::CCDictionary* saveValueToDictionary() const override;
};

class KXAttributeColor : public KXBaseAttributeColor {
    KX_TYPE_IDENTITY(KXAttributeColor)
    KX_ATTRIBUTE_CLONE(KXAttributeColor)

public:
    KXAttributeColor(const std::string& name, KXModel* owner) : KXBaseAttributeColor(name, owner) {}
    KXAttributeColor(const std::string& name, KXModel* owner, const KXAttributeColor& source)
        : KXBaseAttributeColor(name, owner, source) {}
};
