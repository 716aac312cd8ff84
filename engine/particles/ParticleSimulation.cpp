#include "particles/ParticleSimulation.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

NS_CC_BEGIN

namespace {

float clamp01(float value) {
    if (!(value > 0.0f)) // also NaN
        return 0.0f;
    return value > 1.0f ? 1.0f : value;
}

float finiteOrZero(float value) {
    return std::isfinite(value) ? value : 0.0f;
}

} // namespace

ParticleSimulation::ParticleSimulation() : m_random(static_cast<unsigned>(std::rand()) + 1u) {}

bool ParticleSimulation::init(unsigned int total) {
    if (total > kMaxParticles)
        return false;
    // The buffer grows with the living particles: a large total costs nothing until it fills.
    m_particles.clear();
    m_total = total;
    m_emitCounter = 0.0f;
    m_elapsed = 0.0f;
    m_active = true;
    return true;
}

void ParticleSimulation::setTotalParticles(unsigned int total) {
    m_total = std::min(total, kMaxParticles);
    if (m_particles.size() > m_total)
        m_particles.resize(m_total);
    if (m_particles.capacity() > m_total)
        m_particles.shrink_to_fit();
}

float ParticleSimulation::randomMinus1To1() {
    return std::uniform_real_distribution<float>(-1.0f, 1.0f)(m_random);
}

void ParticleSimulation::emit(const CCPoint& origin) {
    const ParticleSettings& s = settings;
    tCCParticle p{};
    p.origin = origin;
    p.pos = CCPoint(s.posVar.x * randomMinus1To1(), s.posVar.y * randomMinus1To1());
    p.timeToLive = std::max(0.0f, finiteOrZero(s.life + s.lifeVar * randomMinus1To1()));

    ccColor4F start{clamp01(s.startColor.r + s.startColorVar.r * randomMinus1To1()),
                    clamp01(s.startColor.g + s.startColorVar.g * randomMinus1To1()),
                    clamp01(s.startColor.b + s.startColorVar.b * randomMinus1To1()),
                    clamp01(s.startColor.a + s.startColorVar.a * randomMinus1To1())};
    ccColor4F end{clamp01(s.endColor.r + s.endColorVar.r * randomMinus1To1()),
                  clamp01(s.endColor.g + s.endColorVar.g * randomMinus1To1()),
                  clamp01(s.endColor.b + s.endColorVar.b * randomMinus1To1()),
                  clamp01(s.endColor.a + s.endColorVar.a * randomMinus1To1())};
    p.color = start;

    p.size = std::max(0.0f, finiteOrZero(s.startSize + s.startSizeVar * randomMinus1To1()));
    float endSize = p.size;
    if (s.endSize != kCCParticleStartSizeEqualToEndSize)
        endSize = std::max(0.0f, finiteOrZero(s.endSize + s.endSizeVar * randomMinus1To1()));

    p.rotation = finiteOrZero(s.startSpin + s.startSpinVar * randomMinus1To1());
    float endRotation = finiteOrZero(s.endSpin + s.endSpinVar * randomMinus1To1());

    // Rates of change over the particle's life; a particle without life never changes.
    if (p.timeToLive > 0.0f) {
        float inverseLife = 1.0f / p.timeToLive;
        p.deltaColor = ccColor4F{(end.r - start.r) * inverseLife, (end.g - start.g) * inverseLife,
                                 (end.b - start.b) * inverseLife, (end.a - start.a) * inverseLife};
        p.deltaSize = (endSize - p.size) * inverseLife;
        p.deltaRotation = (endRotation - p.rotation) * inverseLife;
    }

    float angle = CC_DEGREES_TO_RADIANS(s.angle + s.angleVar * randomMinus1To1());
    float speed = s.speed + s.speedVar * randomMinus1To1();
    p.dir = CCPoint(std::cos(angle) * speed, std::sin(angle) * speed);
    p.radialAccel = s.radialAccel + s.radialAccelVar * randomMinus1To1();
    // Doubling, but never past the total.
    if (m_particles.size() == m_particles.capacity())
        m_particles.reserve(std::min<size_t>(std::max<size_t>(m_particles.capacity() * 2, 16), m_total));
    m_particles.push_back(p);
}

void ParticleSimulation::move(tCCParticle& p, float dt) const {
    // Radial acceleration pushes away from the point the particle was emitted from.
    CCPoint radial;
    float distance = std::sqrt(p.pos.x * p.pos.x + p.pos.y * p.pos.y);
    if (distance > 0.0f)
        radial = CCPoint(p.pos.x / distance * p.radialAccel, p.pos.y / distance * p.radialAccel);
    p.dir.x += (radial.x + settings.gravity.x) * dt;
    p.dir.y += (radial.y + settings.gravity.y) * dt;
    p.pos.x += p.dir.x * dt;
    p.pos.y += p.dir.y * dt;
    p.color.r = clamp01(p.color.r + p.deltaColor.r * dt);
    p.color.g = clamp01(p.color.g + p.deltaColor.g * dt);
    p.color.b = clamp01(p.color.b + p.deltaColor.b * dt);
    p.color.a = clamp01(p.color.a + p.deltaColor.a * dt);
    p.size = std::max(0.0f, p.size + p.deltaSize * dt);
    p.rotation += p.deltaRotation * dt;
}

void ParticleSimulation::step(float dt, const CCPoint& spawnOrigin) {
    if (!(dt > 0.0f) || !std::isfinite(dt))
        dt = 0.0f;

    float rate = settings.emissionRate;
    if (m_active && rate > 0.0f && std::isfinite(rate)) {
        float interval = 1.0f / rate;
        if (!isFull())
            m_emitCounter += dt;
        while (!isFull() && m_emitCounter >= interval) {
            emit(spawnOrigin);
            m_emitCounter -= interval;
        }
        if (isFull())
            m_emitCounter = 0.0f; // no burst of saved-up particles when room appears again
    }
    if (m_active) {
        m_elapsed += dt;
        if (settings.duration != kCCParticleDurationInfinity && settings.duration < m_elapsed)
            stop();
    }

    // Move the living, drop the dead, keeping the order of emission.
    size_t kept = 0;
    for (size_t i = 0; i < m_particles.size(); ++i) {
        tCCParticle& p = m_particles[i];
        p.timeToLive -= dt;
        if (p.timeToLive <= 0.0f)
            continue;
        move(p, dt);
        if (kept != i)
            m_particles[kept] = p;
        ++kept;
    }
    m_particles.resize(kept);
}

void ParticleSimulation::reset() {
    m_particles.clear();
    m_active = true;
    m_elapsed = 0.0f;
    m_emitCounter = 0.0f;
}

void ParticleSimulation::stop() {
    m_active = false;
    m_elapsed = settings.duration;
    m_emitCounter = 0.0f;
}

NS_CC_END
