// Enumeration attribute: one int stored under "enum"; no limits, variable value or curves.
#pragma once

#include <cstdint>
#include <string>

#include "base/CCDictionary.h"
#include "base/CCString.h"
#include "model/KXBaseAttribute.h"
#include "model/KXMessagePackMap.h"
#include "model/KXStoredKeys.h"

// E must have a fixed underlying type (enum E : int32_t) so that any stored number is a valid
// value of it; stored data is not checked against the enumerators.
template <class E> class KXBaseAttributeEnum : public KXAttribute {
public:
    using EnumType = E;

    KXBaseAttributeEnum(const std::string& name, KXModel* owner, uint32_t flags = 0)
        : KXAttribute(name, owner, flags) {}
    KXBaseAttributeEnum(const std::string& name, KXModel* owner, const KXBaseAttributeEnum& source)
        : KXAttribute(name, owner, source), m_value(source.m_value) {}

    E value() const { return static_cast<E>(m_value); }
    int32_t intValue() const { return m_value; }
    void setValue(E value, bool silent = false) {
        const int32_t number = static_cast<int32_t>(value);
        if (number == m_value) {
            return;
        }
        m_value = number;
        if (!silent) {
            notifyChanged(0);
        }
    }

    void registerKeys() const override { KXMessagePackMap::registerKeyName("enum"); }
    void packValues(KXMessagePackMap& map) const override { map.set("enum", m_value); }
    // Unlike the scalars, a map without "enum" resets the value to 0.
    void unpackValues(const KXMessagePackMap& map) override {
        int32_t number = 0;
        map.get(kxkey::enumValue, number);
        m_value = number;
    }

    void loadValueFromDictionary(cocos2d::CCObject* object) override {
        cocos2d::CCDictionary* dictionary = dynamic_cast<cocos2d::CCDictionary*>(object);
        if (dictionary == nullptr) {
            return;
        }
        const cocos2d::CCString* text = dictionary->valueForKey("value");
        if (text->length() > 0) {
            m_value = text->intValue();
        }
    }
    cocos2d::CCDictionary* saveValueToDictionary() const override {
        cocos2d::CCDictionary* dictionary = cocos2d::CCDictionary::create();
        dictionary->setObject(cocos2d::CCString::createWithFormat("%d", m_value), "value");
        return dictionary;
    }

private:
    int32_t m_value = 0;
};
