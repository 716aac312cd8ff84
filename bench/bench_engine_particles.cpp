// Cost of one frame of a full emitter: the simulation step, and the squares built for drawing.
#include <benchmark/benchmark.h>

#include "cocos2d.h"

USING_NS_CC;

namespace {

CCParticleSystemQuad* fullEmitter(unsigned int total) {
    auto* emitter = new CCParticleSystemQuad();
    emitter->initWithTotalParticles(total);
    emitter->setEmissionRate(static_cast<float>(total));
    emitter->setLife(1000.0f);
    emitter->setSpeed(60.0f);
    emitter->setSpeedVar(20.0f);
    emitter->setAngleVar(180.0f);
    emitter->setGravity(CCPoint(0.0f, -30.0f));
    emitter->setRadialAccel(5.0f);
    emitter->setStartSize(20.0f);
    emitter->setEndSize(5.0f);
    emitter->setEndSpin(360.0f);
    emitter->setStartColor(ccc4f(1, 0.5f, 0.2f, 1));
    emitter->setEndColor(ccc4f(0, 0, 0, 0));
    emitter->update(1.0f);
    return emitter;
}

void BM_ParticleStep(benchmark::State& state) {
    CCParticleSystemQuad* emitter = fullEmitter(static_cast<unsigned int>(state.range(0)));
    for (auto _ : state)
        emitter->update(1.0f / 60.0f);
    state.SetItemsProcessed(state.iterations() * state.range(0));
    emitter->release();
}
BENCHMARK(BM_ParticleStep)->Arg(150)->Arg(1000)->Arg(10000);

void BM_ParticleQuads(benchmark::State& state) {
    CCParticleSystemQuad* emitter = fullEmitter(static_cast<unsigned int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(emitter->buildQuads().data());
    state.SetItemsProcessed(state.iterations() * state.range(0));
    emitter->release();
}
BENCHMARK(BM_ParticleQuads)->Arg(150)->Arg(1000)->Arg(10000);

} // namespace
