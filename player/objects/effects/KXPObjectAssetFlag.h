#pragma once

// A waving flag or banner: a textured strip fixed at the node's origin along its x axis, bent by
// scrolling noise (KXPFlagStrip). Texture: the model's "Texture", else the game's
// "data/fx/flagMap.png". No body.

#include "player/objects/assets/KXPObjectAsset.h"
#include "player/objects/effects/KXPEffectShader.h"

#include "cocos2d.h"

#include <memory>

class KXModelObjectFlag;

class KXPObjectAssetFlag : public KXPObjectAsset {
public:
    explicit KXPObjectAssetFlag(const std::shared_ptr<KXModelObjectFlag>& model);
    // Releases the texture.
    ~KXPObjectAssetFlag() override;

    // The asset update, then the wave scrolls by "Speed".
    void update(float dt) override;
    // The strip in the node's own space.
    void draw() override;
    // A 100 x 100 box around the node in the object layer's space.
    cocos2d::CCRect boundingRect() override;

    float phase() const { return m_phase; }
    cocos2d::CCTexture2D* texture() const { return m_texture; }

private:
    std::shared_ptr<KXModelObjectFlag> flagModel() const;

    cocos2d::CCTexture2D* m_texture = nullptr; // retained
    KXPEffectShader m_shader;
    float m_phase;
};
