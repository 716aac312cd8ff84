#pragma once

// The part of the game field in which objects live: the window grown by the back deletion
// threshold behind and ahead and by the sides threshold above and below, turned with the gameplay
// angle. An object whose rectangle lies wholly beyond its back edge or one of its side edges has
// fallen behind and goes; nothing is removed ahead, where the level is still to come. A threshold
// of -1 switches its edges' test off (the rectangle still uses 300 behind and 550 beside).

#include "cocos2d.h"

class KXPDeletionArea {
public:
    static constexpr float kDefaultSides = 550.0f;
    static constexpr float kDefaultBack = 300.0f;

    // `origin`: where the window's corner lies in the objects' layer (minus the layer's position
    // and the visible area's offset).
    KXPDeletionArea(float gameplayAngleDegrees, const cocos2d::CCSize& window, float sidesThreshold,
                    float backThreshold, const cocos2d::CCPoint& layerOffset);

    // Whether the rectangle (object-layer coordinates) lies wholly beyond a tested edge; a
    // rectangle touching an edge line stays.
    bool isLeftBehind(const cocos2d::CCRect& rect) const;

    // Corners in layer coordinates: below-ahead, below-behind, above-behind, above-ahead (for
    // the angle 0).
    const cocos2d::CCPoint& corner(int index) const { return m_corners[index]; }

private:
    cocos2d::CCPoint m_corners[4];
    bool m_sidesOn;
    bool m_backOn;
    float m_turn;
};
