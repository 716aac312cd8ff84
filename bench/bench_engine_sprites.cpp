// Sprite drawing in the offscreen GL view: cost of one frame of N sprites (one atlas texture
// or several textures), and of visit without GL. Frames per second at 60 Hz budget:
// sprites per frame = N while the per-frame time stays under 16.7 ms.
#include <GL/glew.h>

#include <benchmark/benchmark.h>

#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "cocos2d.h"

using namespace cocos2d;

namespace {

std::string g_folder;

std::string writeImage(const std::string& name, int w, int h, Uint32 colour) {
    const std::string path = g_folder + "/" + name;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_RGBA32);
    SDL_FillRect(surface, nullptr, colour);
    IMG_SavePNG(surface, path.c_str());
    SDL_FreeSurface(surface);
    return path;
}

CCEGLView* offscreenView() {
    static CCEGLView* view = [] {
        ::setenv("SDL_VIDEODRIVER", "offscreen", 1);
        char pattern[] = "/tmp/kxbench.XXXXXX";
        g_folder = ::mkdtemp(pattern) ? pattern : "/tmp";
        CCEGLView* v = CCEGLView::sharedOpenGLView();
        v->setFrameSize(960, 640);
        v->setDesignResolutionSize(960, 640, kResolutionShowAll);
        CCDirector::sharedDirector()->setOpenGLView(v);
        return v;
    }();
    return view;
}

// Sprites spread over the frame; textures: 1 (frames of one atlas) or several images.
CCNode* makeScene(int sprites, int textures) {
    CCNode* root = CCNode::create();
    std::vector<CCTexture2D*> images;
    for (int t = 0; t < textures; ++t) {
        const std::string path = writeImage("tex" + std::to_string(t) + ".png", 64, 64, 0x80ffffffu - t);
        images.push_back(CCTextureCache::sharedTextureCache()->addImage(path.c_str()));
    }
    for (int i = 0; i < sprites; ++i) {
        CCTexture2D* texture = images[static_cast<size_t>(i % textures)];
        // With one texture every sprite shows a different 16x16 cell of it, as atlas frames do.
        const CCRect rect =
            textures == 1 ? CCRect(16.f * (i % 4), 16.f * ((i / 4) % 4), 16, 16) : CCRect(0, 0, 32, 32);
        CCSprite* sprite = CCSprite::createWithTexture(texture, rect);
        sprite->setPosition(CCPoint(static_cast<float>((i * 37) % 960), static_cast<float>((i * 53) % 640)));
        sprite->setRotation(static_cast<float>(i % 360));
        root->addChild(sprite);
    }
    return root;
}

void drawFrames(benchmark::State& state, int textures) {
    CCEGLView* view = offscreenView();
    if (!view->isOpenGLReady()) {
        state.SkipWithError("no offscreen GL context");
        return;
    }
    const int sprites = static_cast<int>(state.range(0));
    CCNode* root = makeScene(sprites, textures);
    root->retain();
    for (auto _ : state) {
        g_uNumberOfDraws = 0;
        view->beginFrame();
        CCDirector::sharedDirector()->setProjection2D();
        root->visit();
        glFinish();
    }
    state.counters["draws"] = g_uNumberOfDraws;
    state.counters["sprites/s"] =
        benchmark::Counter(static_cast<double>(sprites), benchmark::Counter::kIsIterationInvariantRate);
    root->release();
    CCPoolManager::sharedPoolManager()->pop();
}

void BM_OneAtlasFrame(benchmark::State& state) {
    drawFrames(state, 1);
}
void BM_EightTexturesFrame(benchmark::State& state) {
    drawFrames(state, 8);
}

// The scene-graph part alone: transforms and draw calls that return at once without GL.
void BM_VisitWithoutGL(benchmark::State& state) {
    offscreenView();
    const int sprites = static_cast<int>(state.range(0));
    CCNode* root = makeScene(sprites, 1);
    root->retain();
    const bool ready = ccGLContextReady();
    ccGLSetContextReady(false);
    for (auto _ : state) {
        CCDirector::sharedDirector()->setProjection2D();
        root->visit();
    }
    ccGLSetContextReady(ready);
    state.counters["sprites/s"] =
        benchmark::Counter(static_cast<double>(sprites), benchmark::Counter::kIsIterationInvariantRate);
    root->release();
    CCPoolManager::sharedPoolManager()->pop();
}

} // namespace

BENCHMARK(BM_OneAtlasFrame)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EightTexturesFrame)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VisitWithoutGL)->Arg(1000)->Unit(benchmark::kMicrosecond);
