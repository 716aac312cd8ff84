// Numbers as objects, for storing them in the object containers.
#pragma once

#include "base/CCObject.h"

NS_CC_BEGIN

template <typename Value> class CCBoxedValue : public CCObject {
public:
    explicit CCBoxedValue(Value value) : m_value(value) {}
    Value getValue() const { return m_value; }
    bool isEqual(const CCObject* object) const override {
        const CCBoxedValue* other = dynamic_cast<const CCBoxedValue*>(object);
        return other && other->m_value == m_value;
    }
    // Autoreleased instance.
    static CCBoxedValue* create(Value value) {
        CCBoxedValue* boxed = new CCBoxedValue(value);
        boxed->autorelease();
        return boxed;
    }

private:
    Value m_value;
};

typedef CCBoxedValue<int> CCInteger;
typedef CCBoxedValue<float> CCFloat;
typedef CCBoxedValue<double> CCDouble;
typedef CCBoxedValue<bool> CCBool;

NS_CC_END
