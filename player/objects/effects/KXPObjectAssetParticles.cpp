#include "player/objects/effects/KXPObjectAssetParticles.h"

#include "model/KXDebugLog.h"
#include "model/classes/KXModelObjectParticles.h"
#include "model/classes/KXModelObjectParticlesEmitter.h"
#include "model/classes/KXModelSpriteContainer.h"
#include "player/base/KXPLevelField.h"
#include "player/base/KXPParticleBudget.h"
#include "player/base/KXPWrapping.h"
#include "player/objects/KXPAnimationObject.h"

#include <algorithm>
#include <cmath>

using namespace cocos2d;

namespace {

// The game field updates every node of its object layer and an object each of its children; an
// emitter that obeyed those calls as well as its object would move two or three times a frame.
// It takes them only while its object, hidden on a layer, no longer advances it, so that the
// particles alive then live out their lives instead of hanging still. Otherwise it moves when its
// object advances it, or, until then, by the engine's own step.
class OwnedEmitter : public CCParticleSystemQuad {
public:
    void update(float dt) override {
        if (m_takesPasses) {
            CCParticleSystemQuad::update(dt);
        }
    }
    void advanceBy(float dt) { CCParticleSystemQuad::update(dt); }
    void setTakesPasses(bool takes) { m_takesPasses = takes; }

private:
    bool m_takesPasses = false;
};

OwnedEmitter* owned(CCParticleSystemQuad* emitter) {
    return static_cast<OwnedEmitter*>(emitter);
}

ccColor4F scaled(const ccColor4F& colour, float factor) {
    return ccc4f(colour.r * factor, colour.g * factor, colour.b * factor, colour.a * factor);
}

tCCPositionType positionTypeOf(const KXModelObjectParticlesEmitter& model) {
    switch (model.positionType()) {
    case 1:
        return kCCPositionTypeRelative;
    case 2:
        return kCCPositionTypeGrouped;
    default:
        return kCCPositionTypeFree;
    }
}

} // namespace

KXPObjectAssetParticles*
KXPObjectAssetParticles::create(const std::shared_ptr<KXModelObjectParticles>& model) {
    if (!model) {
        return nullptr;
    }
    KXPObjectAssetParticles* particles = new KXPObjectAssetParticles(model);
    particles->autorelease();
    return particles;
}

KXPObjectAssetParticles::KXPObjectAssetParticles(const std::shared_ptr<KXModelObjectParticles>& model)
    : KXPObjectAsset(model), m_particlesModel(model) {
    addNodeKinds(kNodeKind);
    setType(kTypeEffect);
    m_collisionType = kCollisionNone;
    m_linearMovement = true;
    createEmitters();
}

KXPObjectAssetParticles::~KXPObjectAssetParticles() {
    for (Emitter& emitter : m_emitters) {
        if (m_budget) {
            m_budget->giveBack(emitter.share);
        }
        emitter.system->removeFromParentAndCleanup(true);
        emitter.system->release();
    }
    m_emitters.clear();
}

CCParticleSystemQuad* KXPObjectAssetParticles::emitterAt(size_t index) const {
    return index < m_emitters.size() ? m_emitters[index].system : nullptr;
}

CCParticleSystemQuad* KXPObjectAssetParticles::emitterFor(const KXModelObjectParticlesEmitter* model) const {
    for (const Emitter& emitter : m_emitters) {
        if (emitter.model.get() == model) {
            return emitter.system;
        }
    }
    return nullptr;
}

void KXPObjectAssetParticles::createEmitters() {
    if (!m_particlesModel) {
        return;
    }
    for (const std::shared_ptr<KXModelObjectParticlesEmitter>& model : m_particlesModel->emitters()) {
        createEmitter(model);
    }
}

void KXPObjectAssetParticles::createEmitter(const std::shared_ptr<KXModelObjectParticlesEmitter>& model) {
    // One emitter per emitter model, also when the list names a model twice.
    if (!model || emitterFor(model.get()) != nullptr) {
        return;
    }
    const std::shared_ptr<KXModelSpriteContainer> texture = model->texture();
    if (!texture || texture->textureAt(0) == nullptr) {
        debugLog("[KXPObjectAssetParticles] emitter %s has no texture", model->name().c_str());
        return;
    }

    CCParticleSystemQuad* emitter = new OwnedEmitter();
    if (!emitter->initWithTotalParticles(model->totalParticles())) {
        debugLog("KXPObjectAssetParticles::createEmitter - unable to init emitter");
        emitter->release();
        return;
    }
    emitter->setEmitterMode(kCCParticleModeGravity);
    emitter->setAutoRemoveOnFinish(false);
    emitter->setDuration(kCCParticleDurationInfinity);

    attachEmitter(*model, emitter);
    configureEmitter(*model, emitter);
    // The reference from new is the table's. The engine advances an emitter on the stage by
    // itself only until this object first advances it (see update).
    m_emitters.push_back(Emitter{model, emitter, 0});
}

void KXPObjectAssetParticles::attachEmitter(const KXModelObjectParticlesEmitter& model,
                                            CCParticleSystemQuad* emitter) {
    emitter->removeFromParentAndCleanup(false);
    owned(emitter)->setTakesPasses(m_layer != nullptr && !isVisible());
    if (m_layer != nullptr) {
        m_relayered = true;
        m_layer->addChild(emitter, fieldZOrder());
    } else {
        addChild(emitter, getZOrder());
        emitter->setPosition(model.animatedPosition(0.0f, 0));
    }
}

void KXPObjectAssetParticles::configureEmitter(const KXModelObjectParticlesEmitter& model,
                                               CCParticleSystemQuad* emitter) {
    emitter->setTexture(model.texture() ? model.texture()->textureAt(0) : nullptr);
    if (model.totalParticles() != emitter->getTotalParticles()) {
        emitter->setTotalParticles(model.totalParticles());
    }
    emitter->setEmissionRate(model.emissionRate());
    emitter->setBlendAdditive(model.blendAdditive());
    emitter->setPosition(model.animatedPosition(0.0f, 0));
    emitter->setPosVar(model.positionVariance());
    emitter->setRotation(model.animatedRotation(0.0f, 0));
    emitter->setZOrder(model.zDepth());
    const CCPoint scale = model.animatedScale(0.0f, 0);
    emitter->setScaleX(scale.x);
    emitter->setScaleY(scale.y);
    emitter->setStartSize(model.startSize());
    emitter->setStartSizeVar(model.startSizeVariance());
    emitter->setEndSize(model.endSize());
    emitter->setEndSizeVar(model.endSizeVariance());
    emitter->setStartSpin(model.startSpin());
    emitter->setStartSpinVar(model.startSpinVariance());
    emitter->setEndSpin(model.endSpin());
    emitter->setEndSpinVar(model.endSpinVariance());
    emitter->setGravity(model.gravity());
    emitter->setRadialAccel(model.radialAcceleration());
    emitter->setRadialAccelVar(model.radialAccelerationVariance());
    emitter->setSpeed(model.speed());
    emitter->setSpeedVar(model.speedVariance());
    emitter->setAngle(model.angle());
    emitter->setAngleVar(model.angleVariance());
    emitter->setLife(model.life());
    emitter->setLifeVar(model.lifeVariance());
    emitter->setStartColor(model.color(0.0f));
    emitter->setEndColor(model.color(1.0f));
    emitter->setStartColorVar(model.colorVariation(0.0f));
    emitter->setEndColorVar(model.colorVariation(1.0f));
    emitter->setPositionType(positionTypeOf(model));
    emitter->setVisible(!model.isHidden());
}

CCPoint KXPObjectAssetParticles::emitterPositionInLayer(const KXModelObjectParticlesEmitter& model) {
    const CCPoint world = convertToWorldSpace(model.animatedPosition(0.0f, 0));
    return m_layer->convertToNodeSpace(world);
}

void KXPObjectAssetParticles::update(float dt) {
    if (m_relayered) {
        m_relayered = false;
        const int z = getZOrder() == 0 ? wrappingAdd(fieldZOrder(), -1) : fieldZOrder();
        for (Emitter& emitter : m_emitters) {
            emitter.system->setZOrder(z);
        }
    }
    compensateParentScale();
    KXPObjectAsset::update(dt);
    if (m_layer == nullptr) {
        return;
    }
    for (Emitter& emitter : m_emitters) {
        emitter.system->setPosition(emitterPositionInLayer(*emitter.model));
        owned(emitter.system)->advanceBy(dt);
    }
}

void KXPObjectAssetParticles::compensateParentScale() {
    if (m_layer != nullptr) {
        return;
    }
    CCNode* top = getParent();
    while (top != nullptr && dynamic_cast<KXPAnimationObject*>(top) != nullptr) {
        top = top->getParent();
    }
    if (top == nullptr) {
        return;
    }
    const float scaleX = top->getScaleX();
    const float scaleY = top->getScaleY();
    const float m = std::min(std::fabs(scaleX), std::fabs(scaleY));
    // An undefined parent scale leaves this object's scale as it is.
    if (std::isnan(m)) {
        return;
    }
    const float k = m >= 1.0f ? 1.0f / m : 2.0f - m;
    setScaleX(scaleX < 0.0f ? -k : k);
    setScaleY(scaleY < 0.0f ? -k : k);
}

void KXPObjectAssetParticles::setVisible(bool visible) {
    KXPObjectAsset::setVisible(visible);
    for (Emitter& emitter : m_emitters) {
        emitter.system->setEmissionRate(visible ? emitter.model->emissionRate() : 0.0f);
        owned(emitter.system)->setTakesPasses(!visible && m_layer != nullptr);
        // Off the layer the engine advances the emitter: advancing it here would take that over
        // while nothing else drives it.
        if (m_layer != nullptr) {
            emitter.system->setPosition(emitterPositionInLayer(*emitter.model));
            owned(emitter.system)->advanceBy(0.0f);
        }
    }
}

void KXPObjectAssetParticles::setObjectLayer(CCNode* layer) {
    KXPObjectAsset::setObjectLayer(layer);
    for (Emitter& emitter : m_emitters) {
        attachEmitter(*emitter.model, emitter.system);
    }
    takeFromBudget();
}

void KXPObjectAssetParticles::takeFromBudget() {
    if (m_budget || m_layer == nullptr) {
        return;
    }
    auto* field = dynamic_cast<KXPLevelField*>(m_layer->getParent());
    m_budget = field != nullptr ? field->particleBudget() : nullptr;
    if (!m_budget) {
        return;
    }
    for (Emitter& emitter : m_emitters) {
        const unsigned int wanted = emitter.system->getTotalParticles();
        const int64_t held = m_budget->held();
        emitter.share = m_budget->take(wanted);
        if (emitter.share == wanted) {
            continue;
        }
        emitter.system->setTotalParticles(emitter.share);
        if (m_budget->refuse()) {
            debugLog(
                "[KXPObjectAssetParticles] - %s (model %u) holds %u of its %u particles, and the emitters "
                "after it in the field no more than is left: the field's emitters hold %lld of their %lld",
                emitter.model->name().c_str(), emitter.model->id(), emitter.share, wanted,
                static_cast<long long>(held), static_cast<long long>(KXPParticleBudget::kParticles));
        }
    }
}

void KXPObjectAssetParticles::setOpacityFactor(float factor) {
    KXPObjectAsset::setOpacityFactor(factor);
    for (Emitter& emitter : m_emitters) {
        const KXModelObjectParticlesEmitter& model = *emitter.model;
        emitter.system->setStartColor(scaled(model.color(0.0f), factor));
        emitter.system->setEndColor(scaled(model.color(1.0f), factor));
        emitter.system->setStartColorVar(scaled(model.colorVariation(0.0f), factor));
        emitter.system->setEndColorVar(scaled(model.colorVariation(1.0f), factor));
    }
}

bool KXPObjectAssetParticles::isOnScreen() {
    return true;
}

void KXPObjectAssetParticles::resetEmitters() {
    for (Emitter& emitter : m_emitters) {
        emitter.system->resetSystem();
    }
}

void KXPObjectAssetParticles::stopEmitters() {
    for (Emitter& emitter : m_emitters) {
        emitter.system->stopSystem();
    }
}
