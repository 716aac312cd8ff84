// Scalar attribute (int, unsigned int, float, bool): a value within limits, a second
// "variable" value, an emptiness switch and per-state animation curves.
#pragma once

#include <cfloat>
#include <climits>
#include <string>
#include <vector>

#include "base/CCDictionary.h"
#include "base/CCString.h"
#include "model/KXBaseAttribute.h"
#include "model/KXMessagePackMap.h"
#include "model/KXStoredKeys.h"
#include "model/attributes/KXAnimationCurveMap.h"

// Limits and text forms per scalar type.
template <class T> struct KXFundamentalTraits;

template <> struct KXFundamentalTraits<int> {
    static constexpr int lowest() { return INT_MIN; }
    static constexpr int highest() { return INT_MAX; }
    static cocos2d::CCString* format(int value) { return cocos2d::CCString::createWithFormat("%d", value); }
    static int parse(const cocos2d::CCString& text) { return text.intValue(); }
};

template <> struct KXFundamentalTraits<unsigned int> {
    static constexpr unsigned int lowest() { return 0u; }
    static constexpr unsigned int highest() { return UINT_MAX; }
    static cocos2d::CCString* format(unsigned int value) {
        return cocos2d::CCString::createWithFormat("%u", value);
    }
    static unsigned int parse(const cocos2d::CCString& text) { return text.uintValue(); }
};

template <> struct KXFundamentalTraits<float> {
    static constexpr float lowest() { return -FLT_MAX; }
    static constexpr float highest() { return FLT_MAX; }
    static cocos2d::CCString* format(float value) { return cocos2d::CCString::createWithFormat("%f", value); }
    static float parse(const cocos2d::CCString& text) { return text.floatValue(); }
};

template <> struct KXFundamentalTraits<bool> {
    static constexpr bool lowest() { return false; }
    static constexpr bool highest() { return true; }
    static cocos2d::CCString* format(bool value) {
        return cocos2d::CCString::createWithFormat("%u", static_cast<unsigned int>(value));
    }
    static bool parse(const cocos2d::CCString& text) { return text.boolValue(); }
};

// Never created on its own: the named classes give the class name, type id and clones.
template <class T> class KXBaseAttributeFundamental : public KXAttribute {
public:
    using ValueType = T;
    using Traits = KXFundamentalTraits<T>;

    KXBaseAttributeFundamental(const std::string& name, KXModel* owner, uint32_t flags = 0)
        : KXAttribute(name, owner, flags) {}
    // Values and limits copied; empty only when the source is; curves deep-copied.
    KXBaseAttributeFundamental(const std::string& name, KXModel* owner,
                               const KXBaseAttributeFundamental& source)
        : KXAttribute(name, owner, source), m_value(source.m_value), m_variableValue(source.m_variableValue),
          m_minimum(source.m_minimum), m_maximum(source.m_maximum), m_emptyAllowed(source.m_emptyAllowed),
          m_empty(source.isEmpty()), m_curves(source.m_curves) {}

    T value() const { return m_value; }
    T variableValue() const { return m_variableValue; }
    T minimum() const { return m_minimum; }
    T maximum() const { return m_maximum; }
    bool isEmptyAllowed() const { return m_emptyAllowed; }
    bool isEmpty() const { return m_emptyAllowed && m_empty; }

    // Raised to the minimum, then lowered to the maximum (so the maximum wins when the limits
    // cross); stored and, unless silent, announced only when it differs.
    void setValue(T value, bool silent = false) {
        value = clamped(value);
        if (value == m_value) {
            return;
        }
        m_value = value;
        if (!silent) {
            notifyChanged(0);
        }
    }
    T clamped(T value) const {
        if (value < m_minimum) {
            value = m_minimum;
        }
        if (value > m_maximum) {
            value = m_maximum;
        }
        return value;
    }

    // Set up by model constructors (and tools) before anything observes the attribute.
    void setVariableValue(T value) { m_variableValue = value; }
    void setMinimum(T minimum) { m_minimum = minimum; }
    void setMaximum(T maximum) { m_maximum = maximum; }
    void setLimits(T minimum, T maximum) {
        m_minimum = minimum;
        m_maximum = maximum;
    }
    void setEmptyAllowed(bool allowed) { m_emptyAllowed = allowed; }
    void setEmpty(bool empty) { m_empty = empty; }

    // The curve stored for exactly `key`, evaluated at `time`; 0 without one.
    float animatedValue(float time, int key) const {
        const KXAnimationCurve* curve = m_curves.find(key);
        return curve != nullptr ? curve->valueAt(time) : 0.0f;
    }
    const KXAnimationCurveMap& curves() const { return m_curves; }

    void registerKeys() const override {
        KXMessagePackMap::registerKeyName("value");
        KXMessagePackMap::registerKeyName("variableValue");
        KXMessagePackMap::registerKeyName("isEmpty");
        KXMessagePackMap::registerKeyName("animations");
    }

    void packValues(KXMessagePackMap& map) const override {
        map.set("value", m_value);
        map.set("variableValue", m_variableValue);
        map.set("isEmpty", isEmpty());
        if (!m_curves.empty()) {
            m_curves.pack(map, "animations");
        }
    }

    // Values are stored as read: no limits, no notification. Missing keys keep the fields.
    void unpackValues(const KXMessagePackMap& map) override {
        map.get(kxkey::value, m_value);
        map.get(kxkey::variableValue, m_variableValue);
        map.get(kxkey::isEmpty, m_empty);
        m_curves.unpackNonEmpty(map, kxkey::animations);
    }

    void loadValueFromDictionary(cocos2d::CCObject* object) override {
        cocos2d::CCDictionary* dictionary = dynamic_cast<cocos2d::CCDictionary*>(object);
        if (dictionary == nullptr) {
            return;
        }
        const cocos2d::CCString* text = dictionary->valueForKey("value");
        if (text->length() > 0) {
            m_value = clamped(Traits::parse(*text));
        }
        text = dictionary->valueForKey("variableValue");
        if (text->length() > 0) {
            m_variableValue = clamped(Traits::parse(*text));
        }
        text = dictionary->valueForKey("isEmpty");
        m_empty = text->length() > 0 && text->boolValue();
        if (cocos2d::CCObject* animations = dictionary->objectForKey("animations")) {
            m_curves = KXAnimationCurveMap::fromArray(animations);
        }
    }

    cocos2d::CCDictionary* saveValueToDictionary() const override {
        cocos2d::CCDictionary* dictionary = cocos2d::CCDictionary::create();
        dictionary->setObject(Traits::format(m_value), "value");
        dictionary->setObject(Traits::format(m_variableValue), "variableValue");
        dictionary->setObject(cocos2d::CCString::createWithFormat("%d", isEmpty() ? 1 : 0), "isEmpty");
        if (!m_curves.empty()) {
            dictionary->setObject(m_curves.saveToArray(), "animations");
        }
        return dictionary;
    }

    // The curve under `key` (when there is one).
    std::vector<KXAnimationCurve*> animationCurves(int key) const override {
        KXAnimationCurve* curve = m_curves.find(key);
        if (curve == nullptr) {
            return {};
        }
        return {curve};
    }

    // Takes ownership of the first curve and stores it under `key` (deleting the one held
    // there before), then tells the owner. Further curves stay the caller's; an empty list
    // changes nothing.
    void setAnimationCurves(const std::vector<KXAnimationCurve*>& curves, int key) override {
        if (curves.empty()) {
            return;
        }
        m_curves.replace(key, curves.front());
        notifyChanged(0);
    }

protected:
    T m_value = T();
    T m_variableValue = T();
    T m_minimum = Traits::lowest();
    T m_maximum = Traits::highest();
    bool m_emptyAllowed = false;
    bool m_empty = false;
    KXAnimationCurveMap m_curves;
};
