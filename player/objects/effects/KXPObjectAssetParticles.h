#pragma once

// A particle effect: one emitter (a textured-quad particle system in gravity mode) per emitter
// model of the particle model, configured entirely from that model. On the game field the
// emitters live in the object layer beside the object, one step below its field depth when the
// object's own depth is 0, follow the object every frame and are advanced by it; hidden, they
// emit nothing. Inside an animation on a screen they hang under the object, which undoes most of
// the animation owner's scale, and the engine advances them.

#include "player/base/KXPNodeKinds.h"
#include "player/objects/assets/KXPObjectAsset.h"

#include "cocos2d.h"

#include <memory>
#include <vector>

class KXModelObjectParticles;
class KXModelObjectParticlesEmitter;
class KXPParticleBudget;

class KXPObjectAssetParticles : public KXPObjectAsset {
public:
    CC_NODE_KIND(KXPObjectAssetParticles, kKXPNodeObjectParticles);

    // Autoreleased; null without a model.
    static KXPObjectAssetParticles* create(const std::shared_ptr<KXModelObjectParticles>& model);

    explicit KXPObjectAssetParticles(const std::shared_ptr<KXModelObjectParticles>& model);
    // The emitters leave their parents and are released.
    ~KXPObjectAssetParticles() override;

    // Depth after a move to the layer, scale compensation, the asset update, then (in a layer)
    // each emitter placed at the object and advanced by dt.
    void update(float dt) override;
    // Emission at the model's rate when shown, 0 when hidden; particles alive live on.
    void setVisible(bool visible) override;
    // The emitters move into the layer (or back under this object without one); in a field's layer
    // for the first time, they take their totals from its particle budget.
    void setObjectLayer(cocos2d::CCNode* layer) override;
    // Every colour of every emitter (start, end and both variances) times the factor.
    void setOpacityFactor(float factor) override;
    // Effects never leave the screen by themselves.
    bool isOnScreen() override;

    // All emitters start afresh (living particles dropped) or stop emitting.
    void resetEmitters();
    void stopEmitters();

    // Emitters in the order of the model's "Emitters"; one per emitter model with a texture.
    size_t emitterCount() const { return m_emitters.size(); }
    cocos2d::CCParticleSystemQuad* emitterAt(size_t index) const;
    cocos2d::CCParticleSystemQuad* emitterFor(const KXModelObjectParticlesEmitter* model) const;

protected:
    void createEmitters();
    void createEmitter(const std::shared_ptr<KXModelObjectParticlesEmitter>& model);
    void attachEmitter(const KXModelObjectParticlesEmitter& model, cocos2d::CCParticleSystemQuad* emitter);
    static void configureEmitter(const KXModelObjectParticlesEmitter& model,
                                 cocos2d::CCParticleSystemQuad* emitter);
    // Inside animations: undoes most of the scale of the first ancestor that is not an animation.
    void compensateParentScale();
    // The emitter model's position, taken in this node, in the layer's space.
    cocos2d::CCPoint emitterPositionInLayer(const KXModelObjectParticlesEmitter& model);
    // Once, in a field's layer: each emitter's total as the field's particle budget gives it.
    void takeFromBudget();

private:
    struct Emitter {
        std::shared_ptr<KXModelObjectParticlesEmitter> model;
        cocos2d::CCParticleSystemQuad* system; // retained
        unsigned int share;                    // particles held from m_budget
    };

    std::shared_ptr<KXModelObjectParticles> m_particlesModel;
    std::vector<Emitter> m_emitters;
    // The budget the shares came from, given back when the object goes.
    std::shared_ptr<KXPParticleBudget> m_budget;
    // The emitters were just put into the layer; the next update sets their depth.
    bool m_relayered = false;
};
