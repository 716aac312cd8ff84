#pragma once

#include "model/classes/KXModelPolygon.h"

#include <memory>
#include <string>

// A collision circle: point 0 is the centre, point 1 lies on the rim; never more than two.
class KXModelCircle : public KXModelPolygon {
    KX_MODEL_IDENTITY(KXModelCircle, KXModelPolygon)
    KX_MODEL_CREATE(KXModelCircle)
    KX_MODEL_CLONE(KXModelCircle)

public:
    static constexpr const char* kDefaultObjectName = "";
    static constexpr float kDefaultRadius = 30.0f;

    explicit KXModelCircle(const std::string& name);
    KXModelCircle(const KXModelCircle& source);

    // Appends only while fewer than two points are stored.
    void addPoint(const cocos2d::CCPoint& point, bool silent = false) override;
    // Makes the default circle ((0, 0) and (30, 0)) when empty; index and point are ignored.
    void insertPoint(int index, const cocos2d::CCPoint& point, bool silent = false) override;
    // Removes both points; the index is ignored.
    void removePoint(int index, bool silent = false) override;
    // Moving the centre drags the rim point along.
    void setPoint(int index, const cocos2d::CCPoint& point, bool silent = false) override;
    bool isConvex() const override { return true; }
    // Appends centre -offset and a rim point at radius (width + height) / 5 (30 for an
    // empty size) to the right of it.
    void setBox(const cocos2d::CCSize& size, const cocos2d::CCPoint& offset, bool silent = false) override;

    // Distance from point 0 to point 1 in pixels; 0 without points.
    float radius() const;
};
