// The game field's frame against the bare physics step it wraps: a world of N bodies (each the
// body of an object on the field) stepped once by the field's frame update (camera, world step,
// fixed step over every object, flash, shake, streaming and removal bookkeeping) and once by a
// bare b2World::Step of the same world, alternately in the same run. The counters give both
// times per frame and their ratio.
#include <benchmark/benchmark.h>

#include <box2d/box2d.h>

#include <chrono>
#include <cstdlib>

#include "cocos2d.h"
#include "model/KXModelController.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/classes/KXModelScreenScene.h"
#include "player/KXPGameFieldCamera.h"
#include "player/KXPGameplaySettings.h"
#include "player/KXPScreenScene.h"
#include "player/KXPScreensController.h"
#include "player/objects/KXPObject.h"

using namespace cocos2d;

namespace {

constexpr float kMetresPerPoint = 0.05f;

// A field object that follows its body, as the asset objects do, then runs the object update.
class BodyObject : public KXPObject {
public:
    BodyObject(b2World* world, const CCPoint& position) : KXPObject(nullptr), m_world(world) {
        init();
        setType(kTypeUnit);
        setPosition(position);
        b2BodyDef def;
        def.type = b2_dynamicBody;
        def.position.Set(position.x * kMetresPerPoint, position.y * kMetresPerPoint);
        def.linearVelocity.Set(static_cast<float>(std::rand() % 200 - 100) * 0.01f,
                               static_cast<float>(std::rand() % 200 - 100) * 0.01f);
        m_body = world->CreateBody(&def);
        b2CircleShape circle;
        circle.m_radius = 12.0f * kMetresPerPoint;
        m_body->CreateFixture(&circle, 1.0f);
    }
    ~BodyObject() override { m_world->DestroyBody(m_body); }

    void update(float dt) override {
        const b2Vec2& position = m_body->GetPosition();
        setPosition(position.x / kMetresPerPoint, position.y / kMetresPerPoint);
        setRotation(-m_body->GetAngle() * 57.29578f);
        KXPObject::update(dt);
    }

private:
    b2World* m_world;
};

void BM_FieldFrameAgainstBareStep(benchmark::State& state) {
    CCDirector* director = CCDirector::sharedDirector();
    director->purgeDirector();
    CCEGLViewProtocol view;
    view.setFrameSize(1136.0f, 640.0f);
    director->setOpenGLView(&view);
    KXModelController::shared()->clear();
    KXPScreensController::shared()->setCurrentSceneKey("bench");
    auto model = KXBaseModelScreenScene::findOrCreateByKey("bench");
    model->gravityAttribute()->setValue(CCPoint(0.0f, 0.0f), true);

    KXPScreenScene* scene = KXPScreenScene::create();
    scene->retain();
    KXPGameplaySettings::shared()->setSimulationTimeScale(1.0f);
    b2World* world = scene->getWorld();
    // Bodies in a grid a little closer than their size, so neighbours touch.
    std::srand(1);
    const int bodies = static_cast<int>(state.range(0));
    const int columns = 100;
    for (int i = 0; i < bodies; ++i) {
        const CCPoint position(static_cast<float>(i % columns) * 22.0f,
                               static_cast<float>(i / columns) * 22.0f);
        BodyObject* object = new BodyObject(world, position);
        scene->getObjectLayer()->addChild(object);
        object->release();
    }
    // Let the contacts form before timing.
    for (int frame = 0; frame < 30; ++frame) {
        scene->update(1.0f / 60.0f);
    }

    using Clock = std::chrono::steady_clock;
    double fieldSeconds = 0.0;
    double bareSeconds = 0.0;
    for (auto _ : state) {
        const auto start = Clock::now();
        scene->update(1.0f / 60.0f);
        const auto middle = Clock::now();
        world->Step(1.0f / 60.0f, KXPScreenScene::kVelocityIterations, KXPScreenScene::kPositionIterations);
        const auto end = Clock::now();
        const double field = std::chrono::duration<double>(middle - start).count();
        fieldSeconds += field;
        bareSeconds += std::chrono::duration<double>(end - middle).count();
        state.SetIterationTime(field);
    }
    const double frames = static_cast<double>(state.iterations());
    state.counters["field_us"] = fieldSeconds / frames * 1e6;
    state.counters["bare_step_us"] = bareSeconds / frames * 1e6;
    state.counters["ratio"] = bareSeconds > 0.0 ? fieldSeconds / bareSeconds : 0.0;
    state.counters["contacts"] = world->GetContactCount();

    scene->release();
    CCPoolManager::sharedPoolManager()->pop();
    director->purgeDirector();
    KXModelController::shared()->clear();
}
BENCHMARK(BM_FieldFrameAgainstBareStep)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(5000)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

} // namespace
