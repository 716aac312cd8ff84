#include "particles/CCParticleSystem.h"

#include "base/CCAffineTransform.h"
#include "textures/CCTexture2D.h"

NS_CC_BEGIN

CCParticleSystem::CCParticleSystem()
    : m_pTexture(nullptr), m_tBlendFunc{CC_BLEND_SRC, CC_BLEND_DST}, m_bBlendAdditive(false),
      m_bAutoRemoveOnFinish(false), m_bDrivenByOwner(false), m_nEmitterMode(kCCParticleModeGravity),
      m_ePositionType(kCCPositionTypeFree) {}

CCParticleSystem::~CCParticleSystem() {
    CC_SAFE_RELEASE(m_pTexture);
}

bool CCParticleSystem::initWithTotalParticles(unsigned int numberOfParticles) {
    if (!CCNode::init())
        return false;
    return m_simulation.init(numberOfParticles);
}

void CCParticleSystem::onEnter() {
    CCNode::onEnter();
    if (!m_bDrivenByOwner)
        schedule(schedule_selector(CCParticleSystem::advanceByEngine));
}

void CCParticleSystem::onExit() {
    unschedule(schedule_selector(CCParticleSystem::advanceByEngine));
    CCNode::onExit();
}

void CCParticleSystem::update(float dt) {
    m_bDrivenByOwner = true;
    advance(dt);
}

// Owners advance from their own per-frame update, which the scheduler runs before any selector,
// so in the frame an owner takes over the engine's step is already skipped.
void CCParticleSystem::advanceByEngine(float dt) {
    if (m_bDrivenByOwner) {
        unschedule(schedule_selector(CCParticleSystem::advanceByEngine));
        return;
    }
    advance(dt);
}

void CCParticleSystem::advance(float dt) {
    m_simulation.step(dt, spawnOrigin());
    if (m_bAutoRemoveOnFinish && !m_simulation.isActive() && m_simulation.particleCount() == 0 && m_pParent) {
        unschedule(schedule_selector(CCParticleSystem::advanceByEngine));
        m_pParent->removeChild(this, true); // may release the last reference to this system
    }
}

void CCParticleSystem::resetSystem() {
    m_simulation.reset();
}

void CCParticleSystem::stopSystem() {
    m_simulation.stop();
}

CCPoint CCParticleSystem::spawnOrigin() {
    switch (m_ePositionType) {
    case kCCPositionTypeFree:
        return convertToWorldSpace(CCPointZero);
    case kCCPositionTypeRelative:
        return m_obPosition;
    default:
        return CCPointZero;
    }
}

CCAffineTransform CCParticleSystem::originToNodeTransform() {
    switch (m_ePositionType) {
    case kCCPositionTypeFree:
        return worldToNodeTransform();
    case kCCPositionTypeRelative:
        return parentToNodeTransform();
    default:
        return CCAffineTransformMakeIdentity();
    }
}

void CCParticleSystem::getParticlePositions(std::vector<CCPoint>& positions) {
    positions.clear();
    const auto& particles = m_simulation.particles();
    positions.reserve(particles.size());
    CCAffineTransform toNode = originToNodeTransform();
    for (const tCCParticle& p : particles)
        positions.push_back(CCPointApplyAffineTransform(p.origin, toNode) + p.pos);
}

bool CCParticleSystem::isBlendAdditive() const {
    return m_tBlendFunc.src == GL_SRC_ALPHA && m_tBlendFunc.dst == GL_ONE;
}

void CCParticleSystem::setBlendAdditive(bool additive) {
    m_bBlendAdditive = additive;
    updateBlendFunc();
}

void CCParticleSystem::setTexture(CCTexture2D* texture) {
    if (texture == m_pTexture)
        return;
    CC_SAFE_RETAIN(texture);
    CC_SAFE_RELEASE(m_pTexture);
    m_pTexture = texture;
    updateBlendFunc();
}

void CCParticleSystem::updateBlendFunc() {
    if (m_bBlendAdditive)
        m_tBlendFunc = ccBlendFunc{GL_SRC_ALPHA, GL_ONE};
    else if (!m_pTexture || m_pTexture->hasPremultipliedAlpha())
        m_tBlendFunc = ccBlendFunc{CC_BLEND_SRC, CC_BLEND_DST};
    else
        m_tBlendFunc = ccBlendFunc{GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA};
}

NS_CC_END
