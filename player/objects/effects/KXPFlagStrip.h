#pragma once

// The geometry of a waving flag: twenty columns along the node's x axis, fixed at the origin, the
// centre line bent by gradient noise that scrolls with the phase and grows towards the free end.

#include "cocos2d.h"

struct KXPFlagShape {
    float startWidth = 0.0f;
    float endWidth = 0.0f;
    float length = 0.0f;
    float waveHeight = 0.0f;
    float waveLength = 0.0f;
};

class KXPFlagStrip {
public:
    static constexpr int kColumns = 20;
    static constexpr int kVertices = 2 * kColumns;

    // Top and bottom vertex of each column in turn (a triangle strip), with texture coordinates
    // (t, 0) on top and (t, 1) below; t = column / 20, so the last column lies at 0.95.
    static void build(const KXPFlagShape& shape, double phase, cocos2d::ccVertex2F* vertices,
                      cocos2d::ccTex2F* texCoords);
    // The phase after dt seconds at that "Speed".
    static double advance(double phase, float speed, float dt);
};
