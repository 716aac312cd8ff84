#pragma once

// An affine node transform taken apart into what a node is given: position, rotation (clockwise
// degrees, as nodes turn) and the two scales. The game field places teleported objects at the
// transform their destination has in the object layer.

#include "cocos2d.h"

struct KXPTransformParts {
    cocos2d::CCPoint position;
    float rotation = 0.0f;
    float scaleX = 1.0f;
    float scaleY = 1.0f;

    // Scales are the lengths of the two columns. An unmirrored transform (a d - b c > 0) turns by
    // atan2(-b, a), right in every quadrant; a mirrored one keeps the quadrant-blind
    // atan(-b / a) (atan(c / d) when d is 0), which mirrored data was made against. A degenerate
    // transform turns by 0, never by NaN.
    static KXPTransformParts ofDestination(const cocos2d::CCAffineTransform& transform);

    // Position, rotation and scales onto the node.
    void applyTo(cocos2d::CCNode* node) const;
};
