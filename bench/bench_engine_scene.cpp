// Headless frame cost: scheduler, actions and visiting a scene graph of N nodes without GL.
#include <benchmark/benchmark.h>

#include "cocos2d_base.h"
#include "cocos2d_scene.h"

using namespace cocos2d;

namespace {

class VisitingView : public CCEGLViewProtocol {
public:
    VisitingView() {
        setFrameSize(1136.0f, 640.0f);
        setRenderingEnabled(true);
    }
};

class Ticker : public CCNode {
public:
    void update(float dt) override { m_total += dt; }
    float m_total = 0.0f;
};

// N nodes in groups of ten under one layer, each rotated and scaled so transforms are not trivial;
// every node runs a fade and every tenth has a per-frame update.
void buildScene(CCScene* scene, int nodes) {
    CCLayer* layer = CCLayer::create();
    scene->addChild(layer);
    CCNode* group = nullptr;
    for (int i = 0; i < nodes; ++i) {
        if (i % 10 == 0) {
            group = CCNode::create();
            group->setPosition(CCPoint(static_cast<float>(i % 400), static_cast<float>(i % 300)));
            group->setRotation(static_cast<float>(i % 360));
            layer->addChild(group, i % 7);
        }
        CCNodeRGBA* node = (i % 10 == 0) ? nullptr : CCNodeRGBA::create();
        if (!node) {
            Ticker* ticker = new Ticker();
            ticker->autorelease();
            group->addChild(ticker, i % 3 - 1);
            ticker->scheduleUpdate();
            continue;
        }
        node->setPosition(CCPoint(static_cast<float>(i % 50), 3.0f));
        node->setScale(1.0f + static_cast<float>(i % 5) * 0.1f);
        node->runAction(CCRepeatForever::create(CCFadeTo::create(1.0f, 0)));
        group->addChild(node, i % 3 - 1);
    }
}

void BM_HeadlessFrame(benchmark::State& state) {
    CCDirector* director = CCDirector::sharedDirector();
    director->purgeDirector();
    VisitingView view;
    director->setOpenGLView(&view);
    director->setFixedDeltaTime(1.0f / 60.0f);
    CCScene* scene = CCScene::create();
    buildScene(scene, static_cast<int>(state.range(0)));
    director->runWithScene(scene);
    director->runFrames(2);
    for (auto _ : state) {
        director->mainLoop();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    director->purgeDirector();
}
BENCHMARK(BM_HeadlessFrame)->Arg(100)->Arg(1000)->Arg(5000);

void BM_NodeToWorldConversion(benchmark::State& state) {
    CCNode* root = CCNode::create();
    root->retain();
    CCNode* parent = root;
    for (int depth = 0; depth < 8; ++depth) {
        CCNode* child = CCNode::create();
        child->setPosition(CCPoint(3.0f, 4.0f));
        child->setRotation(10.0f);
        parent->addChild(child);
        parent = child;
    }
    CCPoint p(1.0f, 2.0f);
    for (auto _ : state) {
        p = parent->convertToNodeSpace(parent->convertToWorldSpace(p));
        benchmark::DoNotOptimize(p);
    }
    root->release();
}
BENCHMARK(BM_NodeToWorldConversion);

} // namespace
