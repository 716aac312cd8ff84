#pragma once

// A light placed in a level: a disc of coloured light on the object, cut by the shadows of the
// physics shapes that block light. Every frame it rebuilds its lit polygon from rays (see
// KXPLightFan) and draws it as one triangle fan textured with the game's light map
// ("data/fx/lightMap.png") and tinted with the model's colour. Shadows are off for a light whose
// model says so, and for every light when the game started slowly. No body, no contacts.
//
// On a field the lights share the field's light budget (KXPLightBudget) in the order they update:
// past it a light is lit without shadows, or not drawn in that step.

#include "player/objects/assets/KXPObjectAsset.h"
#include "player/objects/effects/KXPEffectShader.h"
#include "player/objects/effects/KXPLightFan.h"

#include "cocos2d.h"

#include <memory>

class KXModelObjectLight;
class KXPLightBudget;

class KXPObjectAssetLight : public KXPObjectAsset {
public:
    explicit KXPObjectAssetLight(const std::shared_ptr<KXModelObjectLight>& model);
    ~KXPObjectAssetLight() override;

    // The object's update, then the fan rebuilt (left empty without a world, while hidden, with a
    // radius of 0 or less, or past the field's light budget).
    void update(float dt) override;
    // The fan, sorted around the centre, unrotated and unscaled at the node position.
    void draw() override;
    // Stores the state (components are not told); state 5 puts the light out for good.
    void setState(int32_t state) override;
    // The square of influence in the object layer's space; empty once the model is gone.
    cocos2d::CCRect boundingRect() override;
    // Keeps the world for the rays; makes no body.
    void addToWorld(b2World* world, bool skipStill) override;

    // The light centre in metres, in the object layer's space.
    b2Vec2 lightCentre();
    bool castsShadows() const;
    // The part of the screen its square lights, over the screen's area (0 without a layer).
    float screenShare();
    const KXPLightFan& fan() const { return m_fan; }
    cocos2d::CCTexture2D* texture() const { return m_texture; }
    b2World* world() const { return m_world; }

private:
    std::shared_ptr<KXModelObjectLight> lightModel() const;
    // The running field's light budget, when the light hangs in one.
    KXPLightBudget* fieldBudget() const;
    void buildWithin(KXPLightBudget& budget, float radius);

    KXPEffectShader m_shader;
    b2World* m_world = nullptr;
    KXPLightFan m_fan;
    cocos2d::CCTexture2D* m_texture = nullptr; // retained
    // Set by state 5: nothing is updated, drawn or bounded any more.
    bool m_out = false;
};
