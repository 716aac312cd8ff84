// Point attribute for positions, scales and similar settings: a value within a per-axis range,
// a random variance, per-axis empty flags and per-axis animation curves per state.
#pragma once

#include "model/attributes/KXAnimationCurveMap.h"
#include "model/attributes/KXAttributeValue.h"

class KXBaseAttributePoint : public KXAttributeValue<cocos2d::CCPoint> {
public:
    KXBaseAttributePoint(const std::string& name, KXModel* owner, uint32_t flags = 0);
    // Flags set while empty values were not allowed are dropped; curves are deep-copied.
    KXBaseAttributePoint(const std::string& name, KXModel* owner, const KXBaseAttributePoint& source);

    const cocos2d::CCPoint& variableValue() const { return m_variableValue; }
    const cocos2d::CCPoint& minimum() const { return m_minimum; }
    const cocos2d::CCPoint& maximum() const { return m_maximum; }
    bool isEmptyAllowed() const { return m_emptyAllowed; }
    bool isXEmpty() const { return m_emptyAllowed && m_xEmpty; }
    bool isYEmpty() const { return m_emptyAllowed && m_yEmpty; }

    // Each axis raised to its minimum, then lowered to its maximum; stored and, unless
    // silent, announced only when it differs.
    void setValue(const cocos2d::CCPoint& value, bool silent = false);
    cocos2d::CCPoint clamped(cocos2d::CCPoint value) const;
    // Sets both axis flags; announced only while empty values are allowed.
    void setEmpty(bool empty, bool silent = false);
    void setEmptyAllowed(bool allowed, bool silent = false);

    // Set up by model constructors (and tools) before anything observes the attribute.
    void setVariableValue(const cocos2d::CCPoint& variableValue) { m_variableValue = variableValue; }
    void setMinimum(const cocos2d::CCPoint& minimum) { m_minimum = minimum; }
    void setMaximum(const cocos2d::CCPoint& maximum) { m_maximum = maximum; }

    // value + (r / 32767 * 2 - 1) * variableValue per axis, y drawn first; not clamped.
    cocos2d::CCPoint randomValue() const;
    // The x and y curves stored for exactly `key`, evaluated at `time` (0 for a missing axis).
    cocos2d::CCPoint animatedValue(float time, int key) const;
    const KXAnimationCurveMap& curvesX() const { return m_animationsX; }
    const KXAnimationCurveMap& curvesY() const { return m_animationsY; }

    // Stored map: "value", "variableValue", "isXEmpty", "isYEmpty", and "animationsX" /
    // "animationsY" when there are curves for that axis.
    void registerKeys() const override;
    void packValues(KXMessagePackMap& map) const override;
    void unpackValues(const KXMessagePackMap& map) override;

    void loadValueFromDictionary(cocos2d::CCObject* object) override;
    cocos2d::CCDictionary* saveValueToDictionary() const override;

    // The x curve, then the y curve, under `key` (each only when present).
    std::vector<KXAnimationCurve*> animationCurves(int key) const override;
    // curves[0] becomes the x curve and curves[1] the y curve under `key`; the map takes
    // ownership. A missing element leaves that axis as it was. Each axis handled tells the
    // owner.
    void setAnimationCurves(const std::vector<KXAnimationCurve*>& curves, int key) override;

private:
    void setAxisCurve(KXAnimationCurveMap& axis, KXAnimationCurve* curve, int key);

    cocos2d::CCPoint m_variableValue;
    cocos2d::CCPoint m_minimum;
    cocos2d::CCPoint m_maximum;
    bool m_emptyAllowed = false;
    bool m_xEmpty = false;
    bool m_yEmpty = false;
    KXAnimationCurveMap m_animationsX;
    KXAnimationCurveMap m_animationsY;
};

class KXAttributePoint : public KXBaseAttributePoint {
    KX_TYPE_IDENTITY(KXAttributePoint)
    KX_ATTRIBUTE_CLONE(KXAttributePoint)

public:
    KXAttributePoint(const std::string& name, KXModel* owner, uint32_t flags = 0)
        : KXBaseAttributePoint(name, owner, flags) {}
    KXAttributePoint(const std::string& name, KXModel* owner, const KXAttributePoint& source)
        : KXBaseAttributePoint(name, owner, source) {}
};
