#include "model/attributes/KXAttributePoint.h"

#include <cfloat>

#include "base/CCDictionary.h"
#include "base/CCGeometry.h"
#include "base/CCObject.h"
#include "base/CCString.h"
#include "model/KXNumeric.h"
#include "model/KXStoredKeys.h"

using namespace cocos2d;

KXBaseAttributePoint::KXBaseAttributePoint(const std::string& name, KXModel* owner, uint32_t flags)
    : KXAttributeValue<CCPoint>(name, owner, flags), m_minimum(-FLT_MAX, -FLT_MAX),
      m_maximum(FLT_MAX, FLT_MAX) {}

KXBaseAttributePoint::KXBaseAttributePoint(const std::string& name, KXModel* owner,
                                           const KXBaseAttributePoint& source)
    : KXAttributeValue<CCPoint>(name, owner, source), m_variableValue(source.m_variableValue),
      m_minimum(source.m_minimum), m_maximum(source.m_maximum), m_emptyAllowed(source.m_emptyAllowed),
      m_xEmpty(source.isXEmpty()), m_yEmpty(source.isYEmpty()), m_animationsX(source.m_animationsX),
      m_animationsY(source.m_animationsY) {}

CCPoint KXBaseAttributePoint::clamped(CCPoint value) const {
    if (value.x < m_minimum.x) {
        value.x = m_minimum.x;
    }
    if (value.x > m_maximum.x) {
        value.x = m_maximum.x;
    }
    if (value.y < m_minimum.y) {
        value.y = m_minimum.y;
    }
    if (value.y > m_maximum.y) {
        value.y = m_maximum.y;
    }
    return value;
}

void KXBaseAttributePoint::setValue(const CCPoint& value, bool silent) {
    KXAttributeValue<CCPoint>::setValue(clamped(value), silent);
}

void KXBaseAttributePoint::setEmpty(bool empty, bool silent) {
    if (m_xEmpty == empty && m_yEmpty == empty) {
        return;
    }
    m_xEmpty = empty;
    m_yEmpty = empty;
    if (m_emptyAllowed && !silent) {
        notifyChanged(0);
    }
}

void KXBaseAttributePoint::setEmptyAllowed(bool allowed, bool silent) {
    if (!allowed) {
        if (m_xEmpty) {
            m_xEmpty = false;
            if (m_emptyAllowed && !silent) {
                notifyChanged(0);
            }
        }
        if (m_emptyAllowed && m_yEmpty) {
            m_yEmpty = false;
            if (!silent) {
                notifyChanged(0);
            }
        }
    }
    m_emptyAllowed = allowed;
}

CCPoint KXBaseAttributePoint::randomValue() const {
    const float ry = kx::randomSignedUnit();
    const float rx = kx::randomSignedUnit();
    return CCPoint(m_value.x + rx * m_variableValue.x, m_value.y + ry * m_variableValue.y);
}

CCPoint KXBaseAttributePoint::animatedValue(float time, int key) const {
    const KXAnimationCurve* x = m_animationsX.find(key);
    const KXAnimationCurve* y = m_animationsY.find(key);
    return CCPoint(x != nullptr ? x->valueAt(time) : 0.0f, y != nullptr ? y->valueAt(time) : 0.0f);
}

void KXBaseAttributePoint::registerKeys() const {
    KXMessagePackMap::registerKeyName("value");
    KXMessagePackMap::registerKeyName("variableValue");
    KXMessagePackMap::registerKeyName("isXEmpty");
    KXMessagePackMap::registerKeyName("isYEmpty");
    KXMessagePackMap::registerKeyName("animationsX");
    KXMessagePackMap::registerKeyName("animationsY");
}

void KXBaseAttributePoint::packValues(KXMessagePackMap& map) const {
    map.set("value", m_value);
    map.set("variableValue", m_variableValue);
    map.set("isXEmpty", m_xEmpty);
    map.set("isYEmpty", m_yEmpty);
    if (!m_animationsX.empty()) {
        m_animationsX.pack(map, "animationsX");
    }
    if (!m_animationsY.empty()) {
        m_animationsY.pack(map, "animationsY");
    }
}

void KXBaseAttributePoint::unpackValues(const KXMessagePackMap& map) {
    map.get(kxkey::value, m_value);
    map.get(kxkey::variableValue, m_variableValue);
    map.get(kxkey::isXEmpty, m_xEmpty);
    map.get(kxkey::isYEmpty, m_yEmpty);
    m_animationsX.unpackNonEmpty(map, kxkey::animationsX);
    m_animationsY.unpackNonEmpty(map, kxkey::animationsY);
}

void KXBaseAttributePoint::loadValueFromDictionary(CCObject* object) {
    CCDictionary* dictionary = dynamic_cast<CCDictionary*>(object);
    if (dictionary == nullptr) {
        return;
    }
    const CCString* text = dictionary->valueForKey("value");
    if (text->length() > 0) {
        m_value = clamped(text->pointValue());
    }
    text = dictionary->valueForKey("variableValue");
    if (text->length() > 0) {
        m_variableValue = clamped(text->pointValue());
    }
    text = dictionary->valueForKey("isXEmpty");
    m_xEmpty = text->length() > 0 && text->boolValue();
    if (m_emptyAllowed) {
        text = dictionary->valueForKey("isYEmpty");
        m_yEmpty = text->length() > 0 && text->boolValue();
    }
    if (CCObject* curves = dictionary->objectForKey("animationsX")) {
        m_animationsX = KXAnimationCurveMap::fromArray(curves);
    }
    if (CCObject* curves = dictionary->objectForKey("animationsY")) {
        m_animationsY = KXAnimationCurveMap::fromArray(curves);
    }
}

CCDictionary* KXBaseAttributePoint::saveValueToDictionary() const {
    CCDictionary* dictionary = CCDictionary::create();
    dictionary->setObject(CCString::createWithFormat("{%.3f,%.3f}", m_value.x, m_value.y), "value");
    // Written when either axis varies, so that a variance on one axis only is not lost.
    if (m_variableValue.x != 0.0f || m_variableValue.y != 0.0f) {
        dictionary->setObject(CCString::createWithFormat("{%.3f,%.3f}", m_variableValue.x, m_variableValue.y),
                              "variableValue");
    }
    dictionary->setObject(CCString::createWithFormat("%d", m_xEmpty ? 1 : 0), "isXEmpty");
    dictionary->setObject(CCString::createWithFormat("%d", m_yEmpty ? 1 : 0), "isYEmpty");
    if (!m_animationsX.empty()) {
        dictionary->setObject(m_animationsX.saveToArray(), "animationsX");
    }
    if (!m_animationsY.empty()) {
        dictionary->setObject(m_animationsY.saveToArray(), "animationsY");
    }
    return dictionary;
}

std::vector<KXAnimationCurve*> KXBaseAttributePoint::animationCurves(int key) const {
    std::vector<KXAnimationCurve*> curves;
    if (KXAnimationCurve* x = m_animationsX.find(key)) {
        curves.push_back(x);
    }
    if (KXAnimationCurve* y = m_animationsY.find(key)) {
        curves.push_back(y);
    }
    return curves;
}

void KXBaseAttributePoint::setAnimationCurves(const std::vector<KXAnimationCurve*>& curves, int key) {
    // Checked up front: a short list updates what it names and leaves the rest.
    if (!curves.empty()) {
        setAxisCurve(m_animationsX, curves[0], key);
    }
    if (curves.size() >= 2) {
        setAxisCurve(m_animationsY, curves[1], key);
    }
}

void KXBaseAttributePoint::setAxisCurve(KXAnimationCurveMap& axis, KXAnimationCurve* curve, int key) {
    axis.replace(key, curve);
    notifyChanged(0);
}
