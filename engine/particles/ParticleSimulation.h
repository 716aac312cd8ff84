// The emitter's arithmetic, apart from the scene graph: emission, gravity-mode motion, colours,
// sizes and spins, life and duration.
#pragma once

#include <random>
#include <vector>

#include "particles/CCParticleTypes.h"

NS_CC_BEGIN

struct ParticleSettings {
    float emissionRate = 0.0f; // particles per second; 0 emits nothing
    float duration = kCCParticleDurationInfinity;
    float life = 0.0f, lifeVar = 0.0f;
    float speed = 0.0f, speedVar = 0.0f;
    float angle = 0.0f, angleVar = 0.0f; // degrees, counter-clockwise from +x
    float startSize = 0.0f, startSizeVar = 0.0f;
    float endSize = 0.0f, endSizeVar = 0.0f; // kCCParticleStartSizeEqualToEndSize keeps the start size
    float startSpin = 0.0f, startSpinVar = 0.0f;
    float endSpin = 0.0f, endSpinVar = 0.0f;
    CCPoint gravity;
    float radialAccel = 0.0f, radialAccelVar = 0.0f;
    CCPoint posVar;
    ccColor4F startColor{0, 0, 0, 0}, startColorVar{0, 0, 0, 0};
    ccColor4F endColor{0, 0, 0, 0}, endColorVar{0, 0, 0, 0};
};

class ParticleSimulation {
public:
    // Emitter sizes come from game data: anything above this is refused (init) or cut (setter).
    static constexpr unsigned int kMaxParticles = 10000;

    ParticleSimulation();

    ParticleSettings settings;

    // False when total is above kMaxParticles. The particles' buffer grows as they come, never
    // past the total.
    bool init(unsigned int total);
    unsigned int totalParticles() const { return m_total; }
    // Living particles beyond a smaller total are dropped.
    void setTotalParticles(unsigned int total);

    // Advances by dt seconds: emits while active (new particles start at spawnOrigin), then moves
    // every particle and drops the dead. Negative or non-finite dt counts as 0.
    void step(float dt, const CCPoint& spawnOrigin);
    // Drops every particle and starts emitting again from time 0.
    void reset();
    // Ends emission; particles alive live out their lives.
    void stop();

    bool isActive() const { return m_active; }
    bool isFull() const { return m_particles.size() >= m_total; }
    unsigned int particleCount() const { return static_cast<unsigned int>(m_particles.size()); }
    const std::vector<tCCParticle>& particles() const { return m_particles; }

private:
    void emit(const CCPoint& origin);
    void move(tCCParticle& particle, float dt) const;
    float randomMinus1To1();

    std::vector<tCCParticle> m_particles;
    unsigned int m_total = 0;
    float m_emitCounter = 0.0f;
    float m_elapsed = 0.0f;
    bool m_active = true;
    std::minstd_rand m_random;
};

NS_CC_END
