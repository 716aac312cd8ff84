// Colour stops keyed by position. Lookups match the position exactly (0.0 and -0.0 are one
// position); colours are never interpolated between stops.
#pragma once

#include <unordered_map>

#include "base/CCDictionary.h"
#include "base/ccTypes.h"
#include "model/KXBaseAttribute.h"

// Float keys where -0.0 equals 0.0 and every NaN is one key, so that repeated NaN positions
// from bad data update one stop instead of piling up unreachable ones.
struct KXGradientPositionHash {
    size_t operator()(float position) const;
};
struct KXGradientPositionEqual {
    bool operator()(float a, float b) const;
};

class KXAttributeGradient : public KXAttribute {
    KX_TYPE_IDENTITY(KXAttributeGradient)
    KX_ATTRIBUTE_CLONE(KXAttributeGradient)

public:
    using Stops =
        std::unordered_map<float, cocos2d::ccColor4F, KXGradientPositionHash, KXGradientPositionEqual>;

    KXAttributeGradient(const std::string& name, KXModel* owner) : KXAttribute(name, owner, 0u) {}
    KXAttributeGradient(const std::string& name, KXModel* owner, const KXAttributeGradient& source)
        : KXAttribute(name, owner, source), m_stops(source.m_stops) {}

    const Stops& stops() const { return m_stops; }
    // The colour of the stop at exactly `position`, or `fallback` without one.
    cocos2d::ccColor4F colorAt(float position, const cocos2d::ccColor4F& fallback) const;
    bool hasStop(float position) const { return m_stops.count(position) != 0; }
    // Sets or adds the stop; unless silent, tells the owner (also when the colour is unchanged).
    void setColor(float position, const cocos2d::ccColor4F& color, bool silent = false);

    // Stored map: "gradients", one {"pos", "color"} map per stop, written only when there are
    // stops. Reading sets or adds the named stops and keeps the others.
    void registerKeys() const override;
    void packValues(KXMessagePackMap& map) const override;
    void unpackValues(const KXMessagePackMap& map) override;

    void loadValueFromDictionary(cocos2d::CCObject* object) override;
    cocos2d::CCDictionary* saveValueToDictionary() const override;

private:
    Stops m_stops;
};
