#pragma once

// A textured ribbon behind a moving object, like smoke or a wake: the head follows the node, the
// history behind it (KXPTrailPath) drifts away along the node's axes with a noisy sideways wave,
// and the ribbon is drawn as one triangle strip from the model's start width to its end width.
// Attached to another object it takes that object's state. Texture: the model's "Texture", else
// the game's "data/fx/trailMap.png". No body.

#include "player/objects/assets/KXPObjectAsset.h"
#include "player/objects/effects/KXPEffectShader.h"
#include "player/objects/effects/KXPTrailPath.h"

#include "cocos2d.h"

#include <memory>

class KXModelObjectTrail;

class KXPObjectAssetTrail : public KXPObjectAsset {
public:
    explicit KXPObjectAssetTrail(const std::shared_ptr<KXModelObjectTrail>& model);
    ~KXPObjectAssetTrail() override;

    // Object update; on a layer: insertion, drift, the head to the node, the parent's state
    // when attached.
    void update(float dt) override;
    // The ribbon where its history lies in the layer's space, grown by the node's own scale
    // when the trail is placed straight in the layer; nothing in states 4 and 5, without a
    // texture or with a "Length" of 0 or less.
    void draw() override;
    // A 100 x 100 box around the node in the object layer's space.
    cocos2d::CCRect boundingRect() override;
    // No body: the whole history starts at the node.
    void addToWorld(b2World* world, bool skipStill) override;

    const KXPTrailPath& path() const { return m_path; }
    cocos2d::CCTexture2D* texture() const { return m_texture; }
    float phase() const { return m_phase; }
    float time() const { return m_time; }

private:
    std::shared_ptr<KXModelObjectTrail> trailModel() const;
    // The head as the history keeps it: the node in world space less the layer's position.
    cocos2d::CCPoint headPosition();

    KXPEffectShader m_shader;
    KXPTrailPath m_path;
    float m_time = 0.0f;
    float m_phase;
    cocos2d::CCTexture2D* m_texture = nullptr; // retained
};
