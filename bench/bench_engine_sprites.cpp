// Sprite drawing in the offscreen GL view, timed by the wall clock (the GL driver draws on
// threads of its own, so the main thread's CPU time says little).
//
// BM_EngineOneTexture / BM_BareBatchedLoop: one frame of N 1-pixel sprites of one atlas
// (each shows another cell), through the scene graph and the quad batch, and through a bare
// loop that writes the same quads (corners mapped by each sprite's transform) into one array
// and draws them with one indexed call of the same program. Both wait for the frame with
// glFinish. BM_EngineVsBare runs one frame of each in turn and reports their ratio, so load
// on the machine falls on both alike. BM_EightTextures alternates eight textures (a run per
// sprite: the worst case for batching). Counters: draws (GL draw calls per frame), sprites/s.
// BM_DemoAtlases: N sprites of the demo's own pictures, every frame of its atlases in turn at its
// own size, spread over the frame (build/demo, or the game folder KX_BENCH_GAME names).
#include <GL/glew.h>

#include <benchmark/benchmark.h>

#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>

#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "cocos2d.h"

using namespace cocos2d;

namespace {

using Clock = std::chrono::steady_clock;

// The software GL driver allocates its per-frame work in blocks of a few hundred kilobytes
// and frees them when the frame is done. With glibc's adaptive thresholds, whether the heap
// is then trimmed and grown again every frame depends on what the process freed before, and
// that alone can triple a frame's time. Fixed thresholds make the runs comparable.
const bool g_fixedHeap = [] {
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
    return true;
}();

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

// N sprites spread over the frame under one root; textures: 1 (cells of one atlas) or several
// images taken in turn. side: the drawn size in pixels.
class SpriteScene {
public:
    SpriteScene(int sprites, int textures, float side) : m_root(CCNode::create()) {
        m_root->retain();
        std::vector<CCTexture2D*> images;
        for (int t = 0; t < textures; ++t) {
            const std::string path = writeImage("tex" + std::to_string(t) + ".png", 64, 64, 0x80ffffffu - t);
            images.push_back(CCTextureCache::sharedTextureCache()->addImage(path.c_str()));
        }
        for (int i = 0; i < sprites; ++i) {
            CCTexture2D* texture = images[static_cast<size_t>(i % textures)];
            const CCRect cell(16.f * (i % 4), 16.f * ((i / 4) % 4), 16, 16);
            CCSprite* sprite = CCSprite::createWithTexture(texture, cell);
            sprite->setScale(side / 16.f);
            sprite->setPosition(
                CCPoint(static_cast<float>((i * 37) % 960), static_cast<float>((i * 53) % 640)));
            sprite->setRotation(static_cast<float>(i % 360));
            m_root->addChild(sprite);
            m_sprites.push_back(sprite);
        }
    }
    ~SpriteScene() { m_root->release(); }
    CCNode* root() const { return m_root; }
    const std::vector<CCSprite*>& sprites() const { return m_sprites; }

private:
    CCNode* m_root;
    std::vector<CCSprite*> m_sprites;
};

// The same quads without the engine: each sprite's transform taken once (the engine caches
// it too), then per frame the corners mapped into one array and drawn with one call.
class BareBatch {
public:
    explicit BareBatch(const SpriteScene& scene) {
        for (CCSprite* sprite : scene.sprites()) {
            m_transforms.push_back(sprite->nodeToParentTransform());
            m_local.push_back(sprite->getQuad());
        }
        m_texture = scene.sprites().front()->getTexture()->getName();
        m_quads.resize(m_local.size());
        for (size_t q = 0; q < m_local.size(); ++q) {
            const GLushort base = static_cast<GLushort>(q * 4);
            const GLushort quad[6] = {base,
                                      static_cast<GLushort>(base + 1),
                                      static_cast<GLushort>(base + 2),
                                      static_cast<GLushort>(base + 3),
                                      static_cast<GLushort>(base + 2),
                                      static_cast<GLushort>(base + 1)};
            m_indices.insert(m_indices.end(), quad, quad + 6);
        }
        m_program = CCShaderCache::sharedShaderCache()->programForKey(kCCShader_PositionTextureColor);
    }

    void draw() {
        for (size_t i = 0; i < m_local.size(); ++i) {
            const CCAffineTransform& t = m_transforms[i];
            const ccV3F_C4B_T2F_Quad& in = m_local[i];
            ccV3F_C4B_T2F_Quad& out = m_quads[i];
            out = in;
            map(t, in.tl.vertices, &out.tl.vertices);
            map(t, in.bl.vertices, &out.bl.vertices);
            map(t, in.tr.vertices, &out.tr.vertices);
            map(t, in.br.vertices, &out.br.vertices);
        }
        m_program->use();
        m_program->setUniformsForBuiltins();
        ccGLBlendFunc(CC_BLEND_SRC, CC_BLEND_DST);
        ccGLBindTexture2D(m_texture);
        ccGLEnableVertexAttribs(kCCVertexAttribFlag_PosColorTex);
        const GLsizei stride = sizeof(ccV3F_C4B_T2F);
        const char* base = reinterpret_cast<const char*>(m_quads.data());
        glVertexAttribPointer(kCCVertexAttrib_Position, 3, GL_FLOAT, GL_FALSE, stride,
                              base + offsetof(ccV3F_C4B_T2F, vertices));
        glVertexAttribPointer(kCCVertexAttrib_Color, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                              base + offsetof(ccV3F_C4B_T2F, colors));
        glVertexAttribPointer(kCCVertexAttrib_TexCoords, 2, GL_FLOAT, GL_FALSE, stride,
                              base + offsetof(ccV3F_C4B_T2F, texCoords));
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(m_quads.size() * 6), GL_UNSIGNED_SHORT,
                       m_indices.data());
        CC_INCREMENT_GL_DRAWS(1);
    }

private:
    static void map(const CCAffineTransform& t, const ccVertex3F& in, ccVertex3F* out) {
        out->x = t.a * in.x + t.c * in.y + t.tx;
        out->y = t.b * in.x + t.d * in.y + t.ty;
        out->z = in.z;
    }

    std::vector<CCAffineTransform> m_transforms;
    std::vector<ccV3F_C4B_T2F_Quad> m_local;
    std::vector<ccV3F_C4B_T2F_Quad> m_quads;
    std::vector<GLushort> m_indices;
    GLuint m_texture = 0;
    CCGLProgram* m_program = nullptr;
};

void engineFrame(CCEGLView* view, CCNode* root) {
    view->beginFrame();
    CCDirector::sharedDirector()->setProjection2D();
    root->visit();
    ccDrawFlush();
    glFinish();
}

void bareFrame(CCEGLView* view, BareBatch& bare) {
    view->beginFrame();
    CCDirector::sharedDirector()->setProjection2D();
    bare.draw();
    glFinish();
}

// Runs frame() per iteration; sprites/s by the wall clock.
template <typename Frame> void timeFrames(benchmark::State& state, int sprites, Frame frame) {
    double seconds = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        frame();
        seconds += std::chrono::duration<double>(Clock::now() - start).count();
    }
    state.counters["draws"] = g_uNumberOfDraws;
    if (seconds > 0)
        state.counters["sprites/s"] =
            static_cast<double>(sprites) * static_cast<double>(state.iterations()) / seconds;
}

bool glReady(benchmark::State& state) {
    if (offscreenView()->isOpenGLReady())
        return true;
    state.SkipWithError("no offscreen GL context");
    return false;
}

void BM_EngineOneTexture(benchmark::State& state) {
    if (!glReady(state))
        return;
    const int sprites = static_cast<int>(state.range(0));
    SpriteScene scene(sprites, 1, 1.f);
    timeFrames(state, sprites, [&] { engineFrame(offscreenView(), scene.root()); });
    CCPoolManager::sharedPoolManager()->pop();
}

void BM_BareBatchedLoop(benchmark::State& state) {
    if (!glReady(state))
        return;
    const int sprites = static_cast<int>(state.range(0));
    SpriteScene scene(sprites, 1, 1.f);
    BareBatch bare(scene);
    timeFrames(state, sprites, [&] { bareFrame(offscreenView(), bare); });
    CCPoolManager::sharedPoolManager()->pop();
}

void BM_EngineVsBare(benchmark::State& state) {
    if (!glReady(state))
        return;
    const int sprites = static_cast<int>(state.range(0));
    SpriteScene scene(sprites, 1, 1.f);
    BareBatch bare(scene);
    double engineSeconds = 0;
    double bareSeconds = 0;
    unsigned int engineDraws = 0;
    for (auto _ : state) {
        Clock::time_point start = Clock::now();
        engineFrame(offscreenView(), scene.root());
        engineSeconds += std::chrono::duration<double>(Clock::now() - start).count();
        engineDraws = g_uNumberOfDraws;
        start = Clock::now();
        bareFrame(offscreenView(), bare);
        bareSeconds += std::chrono::duration<double>(Clock::now() - start).count();
    }
    const double frames = static_cast<double>(state.iterations());
    state.counters["draws"] = engineDraws;
    state.counters["engine_ms"] = engineSeconds / frames * 1e3;
    state.counters["bare_ms"] = bareSeconds / frames * 1e3;
    state.counters["engine/bare"] = bareSeconds > 0 ? engineSeconds / bareSeconds : 0;
    CCPoolManager::sharedPoolManager()->pop();
}

void BM_EightTextures(benchmark::State& state) {
    if (!glReady(state))
        return;
    const int sprites = static_cast<int>(state.range(0));
    SpriteScene scene(sprites, 8, 1.f);
    timeFrames(state, sprites, [&] { engineFrame(offscreenView(), scene.root()); });
    CCPoolManager::sharedPoolManager()->pop();
}

// The scene-graph part alone: visiting with drawing skipped (no GL).
void BM_VisitWithoutGL(benchmark::State& state) {
    offscreenView();
    const int sprites = static_cast<int>(state.range(0));
    SpriteScene scene(sprites, 1, 1.f);
    const bool ready = ccGLContextReady();
    ccGLSetContextReady(false);
    g_uNumberOfDraws = 0;
    timeFrames(state, sprites, [&] {
        CCDirector::sharedDirector()->setProjection2D();
        scene.root()->visit();
    });
    ccGLSetContextReady(ready);
    CCPoolManager::sharedPoolManager()->pop();
}

#ifdef KX_DEMO_DIR
// The frame names of each of the game's atlases ("data/atlases/*.plist"), loaded into the frame
// cache; atlases in name order.
std::vector<std::vector<std::string>> loadAtlases(const std::string& gameDir) {
    std::vector<std::string> plists;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(gameDir + "/data/atlases", error)) {
        if (entry.path().extension() == ".plist") {
            plists.push_back(entry.path().string());
        }
    }
    std::sort(plists.begin(), plists.end());
    std::vector<std::vector<std::string>> atlases;
    for (const std::string& plist : plists) {
        pugi::xml_document document;
        if (!document.load_file(plist.c_str())) {
            continue;
        }
        std::vector<std::string> names;
        // plist > dict > (key "frames", dict of key/dict pairs)
        for (pugi::xml_node key : document.child("plist").child("dict").children("key")) {
            if (std::string(key.text().get()) != "frames") {
                continue;
            }
            for (pugi::xml_node frame : key.next_sibling("dict").children("key")) {
                names.push_back(frame.text().get());
            }
        }
        CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile(plist.c_str());
        if (!names.empty()) {
            atlases.push_back(names);
        }
    }
    return atlases;
}

void BM_DemoAtlases(benchmark::State& state) {
    if (!glReady(state))
        return;
    const char* given = std::getenv("KX_BENCH_GAME");
    const std::vector<std::vector<std::string>> atlases = loadAtlases(given != nullptr ? given : KX_DEMO_DIR);
    if (atlases.empty()) {
        state.SkipWithError("no atlases in the demo (build it first)");
        return;
    }
    // Every picture in turn, atlas after atlas.
    std::vector<std::string> order;
    for (const auto& names : atlases)
        order.insert(order.end(), names.begin(), names.end());
    const int sprites = static_cast<int>(state.range(0));
    CCNode* root = CCNode::create();
    root->retain();
    for (int i = 0; i < sprites; ++i) {
        const std::string& name = order[static_cast<size_t>(i) % order.size()];
        CCSprite* sprite = CCSprite::createWithSpriteFrameName(name.c_str());
        if (sprite == nullptr)
            continue;
        sprite->setPosition(CCPoint(static_cast<float>((i * 37) % 960), static_cast<float>((i * 53) % 640)));
        root->addChild(sprite);
    }
    timeFrames(state, sprites, [&] { engineFrame(offscreenView(), root); });
    size_t frames = 0;
    for (const auto& names : atlases)
        frames += names.size();
    state.counters["atlases"] = static_cast<double>(atlases.size());
    state.counters["pictures"] = static_cast<double>(frames);
    root->release();
    CCPoolManager::sharedPoolManager()->pop();
}
#endif

} // namespace

#ifdef KX_DEMO_DIR
BENCHMARK(BM_DemoAtlases)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();
#endif
BENCHMARK(BM_EngineOneTexture)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BareBatchedLoop)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EngineVsBare)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EightTextures)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_VisitWithoutGL)->Arg(10000)->Unit(benchmark::kMicrosecond)->UseRealTime();
