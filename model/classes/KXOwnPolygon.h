#pragma once

// Several placed objects collide with a small box of their own instead of an asset's shape.
// That polygon is a plain member: made through the polygon creator, never registered, never
// stored.

#include "model/classes/KXModelPolygon.h"

#include <memory>

inline std::shared_ptr<KXModelPolygon> makeOwnBoxPolygon(float width, float height) {
    std::shared_ptr<KXModelPolygon> polygon =
        std::static_pointer_cast<KXModelPolygon>(KXModelPolygon::create());
    polygon->setBox(cocos2d::CCSize(width, height), cocos2d::CCPoint(0.0f, 0.0f), false);
    return polygon;
}
