#pragma once

// A background of the game field: an endless horizontal strip of one image, scrolling by itself
// at the model's "Speed" and, through the game field's fixed step, against the camera's movement.
// The strip covers the design area along its own axis, optionally turned, with tiles that may
// keep their screen orientation.

#include "player/objects/KXPObject.h"

#include "cocos2d.h"

#include <memory>

class KXModelObjectBackground;

namespace cocos2d {
class CCParallaxScrollNode;
}

class KXPObjectBackgroundLayer : public KXPObject {
public:
    // At most this many tiles make one strip.
    static constexpr int kMaxTiles = 256;

    // Autoreleased; a model without an image gives an empty layer.
    static KXPObjectBackgroundLayer* create(const std::shared_ptr<KXModelObjectBackground>& model);

    explicit KXPObjectBackgroundLayer(const std::shared_ptr<KXModelObjectBackground>& model);
    ~KXPObjectBackgroundLayer() override;

    // The layer's own scrolling at "Speed" points per second.
    void update(float dt) override;
    // Scrolls the tiles against a camera movement of `velocity` (the game field passes the sum of
    // the movement's components).
    void scrollWithVelocity(float velocity, float dt);
    // Back to the start position; the tiles keep their scroll phase.
    void restoreInitialState() override;

    cocos2d::CCParallaxScrollNode* scrollNode() const { return m_scrollNode; }
    const cocos2d::CCPoint& initialPosition() const { return m_initialPosition; }

    // How far the design area reaches from the model's position along its turned axis: toward
    // the left for a negative side, the right for a positive one, 0 for side 0.
    static float visibleExtent(const KXModelObjectBackground& model, int side);

private:
    void buildStrip(const KXModelObjectBackground& model);

    cocos2d::CCParallaxScrollNode* m_scrollNode = nullptr;
    cocos2d::CCPoint m_initialPosition;
};
