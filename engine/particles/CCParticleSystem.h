// A particle emitter node (gravity mode). The engine advances it every frame while it is on the
// stage, until its owner advances it by calling update(dt) itself: from then on only the owner
// does, so it moves exactly once per frame whichever of the two drives it.
#pragma once

#include <vector>

#include "nodes/CCNode.h"
#include "particles/CCParticleTypes.h"
#include "particles/ParticleSimulation.h"
#include "textures/CCTextureProtocol.h"

NS_CC_BEGIN

class CCParticleSystem : public CCNode, public CCTextureProtocol {
public:
    CCParticleSystem();
    ~CCParticleSystem() override;

    // False when numberOfParticles is above ParticleSimulation::kMaxParticles.
    virtual bool initWithTotalParticles(unsigned int numberOfParticles);

    // The owner's advance; marks the system as driven by its owner (see above).
    void update(float dt) override;
    // Drops the living particles and starts emitting again.
    void resetSystem();
    // Stops emitting; the living particles live on.
    void stopSystem();
    bool isActive() const { return m_simulation.isActive(); }
    bool isFull() const { return m_simulation.isFull(); }
    unsigned int getParticleCount() const { return m_simulation.particleCount(); }
    const std::vector<tCCParticle>& getParticles() const { return m_simulation.particles(); }
    bool isDrivenByOwner() const { return m_bDrivenByOwner; }
    // Where the living particles are, in this node's space, in emission order.
    void getParticlePositions(std::vector<CCPoint>& positions);

    void onEnter() override;
    void onExit() override;

    int getEmitterMode() const { return m_nEmitterMode; }
    void setEmitterMode(int mode) { m_nEmitterMode = mode; }
    // Removes the system from its parent once it has stopped and its last particle died.
    bool isAutoRemoveOnFinish() const { return m_bAutoRemoveOnFinish; }
    void setAutoRemoveOnFinish(bool autoRemove) { m_bAutoRemoveOnFinish = autoRemove; }
    // Seconds of emission; kCCParticleDurationInfinity for no end.
    float getDuration() const { return m_simulation.settings.duration; }
    void setDuration(float duration) { m_simulation.settings.duration = duration; }
    unsigned int getTotalParticles() const { return m_simulation.totalParticles(); }
    // Cut to ParticleSimulation::kMaxParticles.
    virtual void setTotalParticles(unsigned int total) { m_simulation.setTotalParticles(total); }
    // 0 stops emission; living particles live on.
    float getEmissionRate() const { return m_simulation.settings.emissionRate; }
    void setEmissionRate(float rate) { m_simulation.settings.emissionRate = rate; }
    tCCPositionType getPositionType() const { return m_ePositionType; }
    void setPositionType(tCCPositionType type) { m_ePositionType = type; }

    // Additive: (SRC_ALPHA, ONE). Otherwise the normal blend for the texture's alpha.
    bool isBlendAdditive() const;
    void setBlendAdditive(bool additive);
    CCTexture2D* getTexture() override { return m_pTexture; }
    // Retained.
    void setTexture(CCTexture2D* texture) override;
    ccBlendFunc getBlendFunc() override { return m_tBlendFunc; }
    void setBlendFunc(ccBlendFunc blendFunc) override { m_tBlendFunc = blendFunc; }

    const CCPoint& getPosVar() const { return m_simulation.settings.posVar; }
    void setPosVar(const CCPoint& var) { m_simulation.settings.posVar = var; }
    const CCPoint& getGravity() const { return m_simulation.settings.gravity; }
    void setGravity(const CCPoint& gravity) { m_simulation.settings.gravity = gravity; }

    float getLife() const { return m_simulation.settings.life; }
    void setLife(float value) { m_simulation.settings.life = value; }
    float getLifeVar() const { return m_simulation.settings.lifeVar; }
    void setLifeVar(float value) { m_simulation.settings.lifeVar = value; }
    float getSpeed() const { return m_simulation.settings.speed; }
    void setSpeed(float value) { m_simulation.settings.speed = value; }
    float getSpeedVar() const { return m_simulation.settings.speedVar; }
    void setSpeedVar(float value) { m_simulation.settings.speedVar = value; }
    // Degrees, counter-clockwise from +x.
    float getAngle() const { return m_simulation.settings.angle; }
    void setAngle(float value) { m_simulation.settings.angle = value; }
    float getAngleVar() const { return m_simulation.settings.angleVar; }
    void setAngleVar(float value) { m_simulation.settings.angleVar = value; }
    float getStartSize() const { return m_simulation.settings.startSize; }
    void setStartSize(float value) { m_simulation.settings.startSize = value; }
    float getStartSizeVar() const { return m_simulation.settings.startSizeVar; }
    void setStartSizeVar(float value) { m_simulation.settings.startSizeVar = value; }
    // kCCParticleStartSizeEqualToEndSize keeps each particle's start size.
    float getEndSize() const { return m_simulation.settings.endSize; }
    void setEndSize(float value) { m_simulation.settings.endSize = value; }
    float getEndSizeVar() const { return m_simulation.settings.endSizeVar; }
    void setEndSizeVar(float value) { m_simulation.settings.endSizeVar = value; }
    // Degrees, clockwise like node rotation.
    float getStartSpin() const { return m_simulation.settings.startSpin; }
    void setStartSpin(float value) { m_simulation.settings.startSpin = value; }
    float getStartSpinVar() const { return m_simulation.settings.startSpinVar; }
    void setStartSpinVar(float value) { m_simulation.settings.startSpinVar = value; }
    float getEndSpin() const { return m_simulation.settings.endSpin; }
    void setEndSpin(float value) { m_simulation.settings.endSpin = value; }
    float getEndSpinVar() const { return m_simulation.settings.endSpinVar; }
    void setEndSpinVar(float value) { m_simulation.settings.endSpinVar = value; }
    float getRadialAccel() const { return m_simulation.settings.radialAccel; }
    void setRadialAccel(float value) { m_simulation.settings.radialAccel = value; }
    float getRadialAccelVar() const { return m_simulation.settings.radialAccelVar; }
    void setRadialAccelVar(float value) { m_simulation.settings.radialAccelVar = value; }

    // Each particle's colours are clamped to 0..1 after the variance is applied.
    const ccColor4F& getStartColor() const { return m_simulation.settings.startColor; }
    void setStartColor(const ccColor4F& color) { m_simulation.settings.startColor = color; }
    const ccColor4F& getStartColorVar() const { return m_simulation.settings.startColorVar; }
    void setStartColorVar(const ccColor4F& color) { m_simulation.settings.startColorVar = color; }
    const ccColor4F& getEndColor() const { return m_simulation.settings.endColor; }
    void setEndColor(const ccColor4F& color) { m_simulation.settings.endColor = color; }
    const ccColor4F& getEndColorVar() const { return m_simulation.settings.endColorVar; }
    void setEndColorVar(const ccColor4F& color) { m_simulation.settings.endColorVar = color; }

protected:
    // One step of the simulation, then the auto-removal (which may release this object).
    void advance(float dt);
    // The engine's per-frame selector while the owner has not taken over.
    void advanceByEngine(float dt);
    // Where new particles start, in the space of the position type.
    CCPoint spawnOrigin();
    // Maps a particle's origin into this node's space.
    CCAffineTransform originToNodeTransform();
    void updateBlendFunc();

    ParticleSimulation m_simulation;
    CCTexture2D* m_pTexture;
    ccBlendFunc m_tBlendFunc;
    bool m_bBlendAdditive;
    bool m_bAutoRemoveOnFinish;
    bool m_bDrivenByOwner;
    int m_nEmitterMode;
    tCCPositionType m_ePositionType;
};

NS_CC_END
