// One animated scalar: control points evaluated as piecewise cubic Bezier (or linear) segments.
#pragma once

#include <memory>
#include <vector>

#include "model/KXMessagePackInterface.h"

namespace cocos2d {
class CCDictionary;
}

struct KXAnimationCurvePoint {
    float inHandle;
    float time;
    float value;
    // With the next point's inHandle, the inner control values of the segment to that point.
    float outHandle;
};

class KXAnimationCurve : public KXMessagePackInterface {
public:
    enum Mode { Linear = 1, CubicBezier = 2 };
    static constexpr int kDefaultPreset = 4;

    KXAnimationCurve() = default;
    ~KXAnimationCurve() override = default;

    int mode() const { return m_mode; }
    // Any mode other than Linear and CubicBezier evaluates to 0 between points.
    void setMode(int mode) { m_mode = mode; }
    // Kept for the editor; evaluation ignores it.
    int preset() const { return m_preset; }
    void setPreset(int preset) { m_preset = preset; }
    const std::vector<KXAnimationCurvePoint>& points() const { return m_points; }

    float valueAt(float time) const;
    // Inserts a point in time order (or flattens the one at exactly this time) and, after an
    // insertion, re-smooths the inner points' handles.
    void addPoint(float value, float time);
    // Appends a point as stored, without sorting or smoothing.
    void appendPoint(const KXAnimationCurvePoint& point) { m_points.push_back(point); }
    // A fresh curve rebuilt with addPoint from this one's values and times: handles come
    // from smoothing, mode and preset are the defaults.
    std::unique_ptr<KXAnimationCurve> clone() const;

    // Stored map: "points" (two points per control point: (time, value), (inHandle,
    // outHandle)) and "preset".
    void registerKeys() const override;
    void packValues(KXMessagePackMap& map) const override;
    void unpackValues(const KXMessagePackMap& map) override;
    void packConnections(KXMessagePackMap& map) const override;
    void unpackConnections(const KXMessagePackMap& map) override;

    virtual void loadFromDictionary(cocos2d::CCDictionary* dictionary);
    // Autoreleased.
    virtual cocos2d::CCDictionary* saveToDictionary() const;

private:
    void smoothInnerHandles();

    int m_mode = CubicBezier;
    std::vector<KXAnimationCurvePoint> m_points;
    int m_preset = kDefaultPreset;
};
