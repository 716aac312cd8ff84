// What a frame costs beyond what it must, each figure side by side with its bare counterpart in one
// run, so that load on the machine falls on both alike. Every run plays in a child process of its
// own (the player keeps singletons that one game per process expects); KX_BENCH_RUNS runs (5) give
// the _min, _med and _max counters.
//
// BM_IdleMenu: the demo's menu in a real window (needs DISPLAY; under Xvfb the software GL
//   driver draws), played by the application's own run loop (pacing included), against a bare
//   SDL/GL loop in the same window and context that clears, draws as many quads as the menu draws
//   (counted by a GL query, each a square sized so that both fill the same number of pixels) with
//   one call, swaps through the same view and sleeps to an absolute deadline. Blocks of each
//   alternate; the CPU time of the whole process (the GL driver's threads too) per frame of each,
//   their ratio (menu/bare), and the frames per second of each (the bare loop makes up every late
//   frame, the application's loop only those late by less than a frame).
// BM_FieldObjects: the platformer's first level headless, as kxsim plays it, with copies of the
//   level's coins and resting units added on screen until the object layer holds
//   100, 1,000, 1,566 and 5,000 objects; per frame the main thread's CPU time, the world step's
//   share of it, and the player's own cost per object ((frame - step) / objects).
// BM_LoadingSteps: the staged load of `kxdata write-sample --models N` as loose files, one step
//   per call as the loading screen makes them, from an empty store: the largest step, the median
//   step and their ratio, in wall and in thread CPU time (on a busy machine a step's wall time also
//   holds the time the thread waited for a processor). The initial load is reported apart.
//
// Build Release; bench/frame_budget.sh brings the window.
#include <GL/glew.h>

#include <benchmark/benchmark.h>

#include <box2d/box2d.h>

#include <SDL2/SDL.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "bench/bench_child.h"
#include "cocos2d.h"
#include "model/KXDebugLog.h"
#include "model/KXModelController.h"
#include "model/KXSecrets.h"
#include "model/classes/KXBaseModelObject.h"
#include "model/classes/KXModelGeneralSettings.h"
#include "player/app/KXPAppDelegate.h"
#include "player/desktop/KXPDesktopEntry.h"
#include "player/desktop/KXPWindowModes.h"
#include "player/field/KXPGameFieldCamera.h"
#include "player/field/KXPScreenScene.h"
#include "player/objects/KXPObject.h"
#include "player/objects/assets/KXPObjectAsset.h"
#include "player/objects/assets/KXPObjectAssetPowerup.h"
#include "tools/kxsim/kxsim_run.h"

#ifndef KX_DEMO_DIR
#define KX_DEMO_DIR "demo"
#endif
#ifndef KX_KXDATA_PATH
#define KX_KXDATA_PATH "kxdata"
#endif

using namespace cocos2d;

namespace {

using Clock = std::chrono::steady_clock;

// --- runs in child processes ---

constexpr size_t kMaxFigures = 32;

// What a child sends back: named figures.
struct Figures {
    int count = 0;
    char names[kMaxFigures][32] = {};
    double values[kMaxFigures] = {};

    void add(const std::string& name, double value) {
        if (count < static_cast<int>(kMaxFigures)) {
            name.copy(names[count], sizeof names[count] - 1);
            values[count++] = value;
        }
    }
};

int runCount() {
    const char* runs = std::getenv("KX_BENCH_RUNS");
    const int count = runs != nullptr ? std::atoi(runs) : 5;
    return std::max(count, 1);
}

// Plays KX_BENCH_RUNS children and reports each figure's minimum, median and maximum.
void report(benchmark::State& state, const std::function<bool(Figures*)>& play) {
    std::vector<Figures> runs;
    for (auto _ : state) {
        for (int run = 0; run < runCount(); ++run) {
            Figures figures;
            if (!playInChildProcess(play, &figures)) {
                state.SkipWithError("a run failed");
                return;
            }
            runs.push_back(figures);
        }
    }
    for (int index = 0; index < runs.front().count; ++index) {
        std::vector<double> values;
        for (const Figures& run : runs) {
            values.push_back(run.values[index]);
        }
        std::sort(values.begin(), values.end());
        const std::string name = runs.front().names[index];
        state.counters[name + "_min"] = values.front();
        state.counters[name + "_med"] = values[values.size() / 2];
        state.counters[name + "_max"] = values.back();
    }
}

double median(std::vector<double> values) {
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double processSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

double threadSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double wallSeconds() {
    return std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
}

// A fresh temporary folder; empty when none could be made.
std::string scratchFolder() {
    char pattern[] = "/tmp/kxbench.XXXXXX";
    return ::mkdtemp(pattern) != nullptr ? std::string(pattern) : std::string();
}

// Runs in the game's folder, with a store under `home`.
bool enter(const std::string& dir, const std::string& home) {
    if (dir.empty() || home.empty() || ::chdir(dir.c_str()) != 0) {
        return false;
    }
    // The player keeps its store under $HOME: a home of the run's own.
    ::setenv("HOME", (home + "/home").c_str(), 1);
    ::unsetenv("XDG_DATA_HOME");
    ::setenv("SDL_AUDIODRIVER", "dummy", 0);
    setDebugLogSink([](const std::string&) {});
    return true;
}

// --- (a) the idle menu against a bare loop ---

// Stops the application's loop after a number of frames, and on request wraps each frame's
// drawing in GL queries (primitives and pixels drawn), reading them one frame later.
class FrameCounter : public CCObject {
public:
    void stopAfter(int frames) {
        m_left = frames;
        m_frames = 0;
    }
    void countDrawing(bool on) { m_counting = on; }

    void update(float) override {
        ++m_frames;
        if (m_counting) {
            readQueries();
        }
        if (--m_left <= 0) {
            CCEGLView::sharedOpenGLView()->setWindowShouldClose(true);
        }
    }

    int frames() const { return m_frames; }
    double trianglesPerFrame() const { return median(m_triangles); }
    double pixelsPerFrame() const { return median(m_pixels); }

    // Ends the queries left open.
    void finish() {
        if (m_open) {
            glEndQuery(GL_PRIMITIVES_GENERATED);
            glEndQuery(GL_SAMPLES_PASSED);
            m_open = false;
        }
    }

private:
    void readQueries() {
        if (m_queries[0] == 0) {
            glGenQueries(2, m_queries);
        }
        if (m_open) {
            finish();
            GLuint triangles = 0;
            GLuint pixels = 0;
            glGetQueryObjectuiv(m_queries[0], GL_QUERY_RESULT, &triangles);
            glGetQueryObjectuiv(m_queries[1], GL_QUERY_RESULT, &pixels);
            m_triangles.push_back(triangles);
            m_pixels.push_back(pixels);
        }
        glBeginQuery(GL_PRIMITIVES_GENERATED, m_queries[0]);
        glBeginQuery(GL_SAMPLES_PASSED, m_queries[1]);
        m_open = true;
    }

    int m_left = 0;
    int m_frames = 0;
    bool m_counting = false;
    bool m_open = false;
    GLuint m_queries[2] = {0, 0};
    std::vector<double> m_triangles;
    std::vector<double> m_pixels;
};

// As a bare program would draw: the quads in one array, one texture, one indexed call of the
// engine's own textured program (so that the engine's cached GL state stays true).
class BareQuads {
public:
    BareQuads(int quads, float side, const CCSize& size) {
        const std::vector<GLubyte> white(4 * 4 * 4, 255);
        glGenTextures(1, &m_texture);
        ccGLBindTexture2D(m_texture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, white.data());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        for (int q = 0; q < quads; ++q) {
            const float x = std::fmod(static_cast<float>(q) * 97.0f, std::max(size.width - side, 1.0f));
            const float y = std::fmod(static_cast<float>(q) * 61.0f, std::max(size.height - side, 1.0f));
            ccV3F_C4B_T2F_Quad quad;
            const ccColor4B colour = {255, 255, 255, 128};
            quad.bl = {{x, y, 0.0f}, colour, {0.0f, 1.0f}};
            quad.br = {{x + side, y, 0.0f}, colour, {1.0f, 1.0f}};
            quad.tl = {{x, y + side, 0.0f}, colour, {0.0f, 0.0f}};
            quad.tr = {{x + side, y + side, 0.0f}, colour, {1.0f, 0.0f}};
            m_quads.push_back(quad);
            const GLushort base = static_cast<GLushort>(q * 4);
            const GLushort indices[6] = {base,
                                         static_cast<GLushort>(base + 1),
                                         static_cast<GLushort>(base + 2),
                                         static_cast<GLushort>(base + 3),
                                         static_cast<GLushort>(base + 2),
                                         static_cast<GLushort>(base + 1)};
            m_indices.insert(m_indices.end(), indices, indices + 6);
        }
        m_program = CCShaderCache::sharedShaderCache()->programForKey(kCCShader_PositionTextureColor);
    }
    ~BareQuads() { ccGLDeleteTexture(m_texture); }

    void draw() {
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
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(m_indices.size()), GL_UNSIGNED_SHORT,
                       m_indices.data());
    }

private:
    GLuint m_texture = 0;
    CCGLProgram* m_program = nullptr;
    std::vector<ccV3F_C4B_T2F_Quad> m_quads;
    std::vector<GLushort> m_indices;
};

void sleepUntil(timespec& deadline, long intervalNanoseconds) {
    deadline.tv_nsec += intervalNanoseconds;
    if (deadline.tv_nsec >= 1000000000L) {
        deadline.tv_nsec -= 1000000000L;
        ++deadline.tv_sec;
    }
    while (::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
    }
}

constexpr int kBlockFrames = 180;
constexpr int kBlocks = 4;

bool playIdleMenu(Figures* figures) {
    const std::string dir =
        std::getenv("KX_BENCH_GAME") != nullptr ? std::getenv("KX_BENCH_GAME") : KX_DEMO_DIR;
    const std::string home = scratchFolder();
    if (!enter(dir, home)) {
        return false;
    }
    KXPAppDelegate application;
    loadStartData();
    CCEGLView* view = CCEGLView::sharedOpenGLView();
    if (view->getBackend() != CCEGLView::kBackendWindow) {
        return false;
    }
    view->setViewName(KXModelGeneralSettings::shared()->applicationName().c_str());
    KXPWindowModes::shared()->setWindowMode(false, true);
    KXPWindowModes::shared()->install();

    FrameCounter* counter = new FrameCounter();
    CCDirector::sharedDirector()->getScheduler()->scheduleUpdateForTarget(counter, 0, false);
    // Loading, the menu's entrance, then a count of what the menu draws.
    counter->stopAfter(600);
    application.run();
    view->setWindowShouldClose(false);
    counter->countDrawing(true);
    counter->stopAfter(60);
    application.run();
    view->setWindowShouldClose(false);
    counter->countDrawing(false);
    counter->finish();
    const double quads = std::max(std::round(counter->trianglesPerFrame() / 2.0), 1.0);
    const double pixels = counter->pixelsPerFrame();
    const CCSize frame = view->getFrameSize();
    const float side = static_cast<float>(std::sqrt(std::max(pixels, 1.0) / quads));
    BareQuads bare(static_cast<int>(quads), side, frame);

    std::vector<double> menuCpu;
    std::vector<double> bareCpu;
    std::vector<double> menuRate;
    std::vector<double> bareRate;
    for (int block = 0; block < kBlocks; ++block) {
        counter->stopAfter(kBlockFrames);
        const double cpu = processSeconds();
        const double wall = wallSeconds();
        application.run();
        view->setWindowShouldClose(false);
        menuCpu.push_back((processSeconds() - cpu) / counter->frames());
        menuRate.push_back(counter->frames() / (wallSeconds() - wall));

        const double bareStart = processSeconds();
        const double bareWall = wallSeconds();
        timespec deadline{};
        ::clock_gettime(CLOCK_MONOTONIC, &deadline);
        for (int f = 0; f < kBlockFrames; ++f) {
            view->pollEvents();
            view->beginFrame();
            CCDirector::sharedDirector()->setProjection2D();
            bare.draw();
            view->swapBuffers();
            sleepUntil(deadline, 16666667L);
        }
        bareCpu.push_back((processSeconds() - bareStart) / kBlockFrames);
        bareRate.push_back(kBlockFrames / (wallSeconds() - bareWall));
    }
    std::vector<double> ratios;
    for (size_t i = 0; i < menuCpu.size(); ++i) {
        ratios.push_back(bareCpu[i] > 0.0 ? menuCpu[i] / bareCpu[i] : 0.0);
    }
    figures->add("menu_cpu_ms", median(menuCpu) * 1e3);
    figures->add("bare_cpu_ms", median(bareCpu) * 1e3);
    figures->add("ratio", median(ratios));
    figures->add("menu_fps", median(menuRate));
    figures->add("bare_fps", median(bareRate));
    figures->add("quads", quads);
    figures->add("pixels", pixels);
    std::system(("rm -rf " + home).c_str());
    return true;
}

void BM_IdleMenu(benchmark::State& state) {
    if (std::getenv("DISPLAY") == nullptr) {
        state.SkipWithError("no DISPLAY (run under Xvfb)");
        return;
    }
    report(state, playIdleMenu);
}
BENCHMARK(BM_IdleMenu)->Iterations(1)->Unit(benchmark::kMillisecond);

// --- (b) the field's frame per object ---

constexpr float kMetresPerPoint = 0.05f;

KXPScreenScene* runningField() {
    CCScene* scene = CCDirector::sharedDirector()->getRunningScene();
    return scene != nullptr ? dynamic_cast<KXPScreenScene*>(scene->getChildByTag(0)) : nullptr;
}

// Coins and the units that stay where they are put (no body, or a static one): what a level holds
// most of. Moving units would leave the view or end the game, other powerups act when collected
// (a magnet pulls every powerup in, a checkpoint saves the store).
bool copied(KXPObject* object) {
    if (object->getModel() == nullptr || object->getModel()->isSpawner()) {
        return false;
    }
    if (object->getType() == KXPObject::kTypePowerup) {
        auto* powerup = dynamic_cast<KXPObjectAssetPowerup*>(object);
        return powerup != nullptr && powerup->powerupType() == "kPowerupCoin";
    }
    return object->getType() == KXPObject::kTypeUnit &&
           (object->getBody() == nullptr || object->getBody()->GetType() == b2_staticBody);
}

// Adds copies of the templates on a grid over the view, away from the characters, until the
// layer holds `target` objects; false when copies cannot be made.
bool fillTo(KXPScreenScene* field, unsigned int target, const std::vector<KXPObject*>& templates,
            unsigned int* placed) {
    KXPGameFieldCamera* layer = field->getObjectLayer();
    const CCSize size = CCDirector::sharedDirector()->getWinSize();
    std::vector<CCPoint> characters;
    CCObject* item = nullptr;
    CCARRAY_FOREACH(layer->getChildren(), item) {
        KXPObject* object = dynamic_cast<KXPObject*>(item);
        if (object != nullptr && object->getType() == KXPObject::kTypeCharacter) {
            characters.push_back(object->getPosition());
        }
    }
    constexpr int kColumns = 100;
    int failures = 0;
    while (layer->getChildrenCount() < target) {
        const unsigned int cell = (*placed)++;
        const float x = (static_cast<float>(cell % kColumns) + 0.5f) * size.width / kColumns;
        const float y = (static_cast<float>((cell / kColumns) % 60) + 0.5f) * size.height / 60.0f;
        const CCPoint at = layer->convertToNodeSpace(CCPoint(x, y));
        bool near = false;
        for (const CCPoint& character : characters) {
            near = near || ccpDistance(character, at) < 150.0f;
        }
        if (near) {
            continue;
        }
        KXPObject* source = templates[cell % templates.size()];
        const std::shared_ptr<KXBaseModelObject> model = source->getModel();
        KXPObjectAsset* copy = field->createObject(model, 0, 0.0f, 0.0f, false);
        if (copy == nullptr) {
            if (++failures > 1000) {
                return false;
            }
            continue;
        }
        copy->setPosition(at);
        if (b2Body* body = copy->getBody()) {
            body->SetTransform(b2Vec2(at.x * kMetresPerPoint, at.y * kMetresPerPoint), body->GetAngle());
        }
    }
    return true;
}

const unsigned int kObjectCounts[] = {100, 1000, 1566, 5000};
constexpr unsigned int kFieldWaitFrames = 1200;
constexpr unsigned int kLayFrames = 120;
constexpr unsigned int kSettleFrames = 30;
constexpr unsigned int kTimedFrames = 240;

// In the game's folder: kxsim's run of the level, driven frame by frame.
bool measureField(Figures* figures) {
    SimOptions options;
    options.openKey = "world1";
    options.seed = 1;
    // Every phase below has its frames.
    options.frames = kFieldWaitFrames + kLayFrames +
                     (kSettleFrames + kTimedFrames) * static_cast<unsigned int>(std::size(kObjectCounts));
    SimRun run(options);
    KXPScreenScene* field = nullptr;
    for (unsigned int f = 0; f < kFieldWaitFrames && field == nullptr; ++f) {
        if (!run.step()) {
            return false;
        }
        field = runningField();
    }
    // The level's first sections laid and built.
    for (unsigned int f = 0; f < kLayFrames; ++f) {
        if (!run.step()) {
            return false;
        }
    }
    field = runningField();
    if (field == nullptr) {
        return false;
    }
    std::vector<KXPObject*> templates;
    CCObject* item = nullptr;
    CCARRAY_FOREACH(field->getObjectLayer()->getChildren(), item) {
        KXPObject* object = dynamic_cast<KXPObject*>(item);
        if (object != nullptr && copied(object)) {
            object->retain();
            templates.push_back(object);
        }
    }
    if (templates.empty()) {
        return false;
    }
    unsigned int placed = 0;
    for (unsigned int target : kObjectCounts) {
        if (!fillTo(field, target, templates, &placed)) {
            return false;
        }
        for (unsigned int f = 0; f < kSettleFrames; ++f) {
            if (!run.step()) {
                return false;
            }
        }
        std::vector<double> frames;
        std::vector<double> steps;
        double objects = 0.0;
        const unsigned int placedBefore = placed;
        for (unsigned int f = 0; f < kTimedFrames; ++f) {
            // Copies that the camera left behind, or that were collected, are made again untimed.
            if (!fillTo(field, target, templates, &placed)) {
                return false;
            }
            const double start = threadSeconds();
            if (!run.step()) {
                return false;
            }
            frames.push_back(threadSeconds() - start);
            steps.push_back(static_cast<double>(field->getWorld()->GetProfile().step) * 1e-3);
            objects += field->getObjectLayer()->getChildrenCount();
        }
        objects /= kTimedFrames;
        const double frameSeconds = median(frames);
        const double stepSeconds = median(steps);
        const std::string n = std::to_string(target);
        figures->add("frame_ms@" + n, frameSeconds * 1e3);
        figures->add("step_ms@" + n, stepSeconds * 1e3);
        figures->add("us/object@" + n, (frameSeconds - stepSeconds) * 1e6 / objects);
        figures->add("objects@" + n, objects);
        figures->add("remade/frame@" + n, static_cast<double>(placed - placedBefore) / kTimedFrames);
    }
    return true;
}

bool playField(Figures* figures) {
    const std::string dir = scratchFolder();
    const std::string command =
        std::string(KX_KXDATA_PATH) + " write-demo --scenario platformer " + dir + "/game > /dev/null 2>&1";
    if (dir.empty() || std::system(command.c_str()) != 0 || !enter(dir + "/game", dir)) {
        return false;
    }
    const bool measured = measureField(figures);
    std::system(("rm -rf " + dir).c_str());
    return measured;
}

void BM_FieldObjects(benchmark::State& state) {
    report(state, playField);
}
BENCHMARK(BM_FieldObjects)->Iterations(1)->Unit(benchmark::kMillisecond);

// --- (c) loading steps ---

bool playLoading(int models, Figures* figures) {
    const std::string dir = scratchFolder();
    const std::string command = std::string(KX_KXDATA_PATH) + " write-sample " + dir + "/game --models " +
                                std::to_string(models) + " > /dev/null 2>&1";
    if (dir.empty() || std::system(command.c_str()) != 0 || !enter(dir + "/game", dir)) {
        return false;
    }
    KXModelController* store = KXModelController::shared();
    store->clear();
    store->setArchiveMode(false);
    const double initialStart = wallSeconds();
    store->loadInitialData("data/data.pkg", kStoredArchivePassword);
    const double initial = wallSeconds() - initialStart;
    std::vector<double> steps;
    std::vector<double> cpu;
    bool done = false;
    while (!done && steps.size() < 100000) {
        const double start = wallSeconds();
        const double cpuStart = threadSeconds();
        done = store->loadNextFile();
        cpu.push_back(threadSeconds() - cpuStart);
        steps.push_back(wallSeconds() - start);
    }
    if (store->loadFailed() || !store->lastError().empty()) {
        return false;
    }
    const double largest = *std::max_element(steps.begin(), steps.end());
    const double typical = median(steps);
    figures->add("largest_ms", largest * 1e3);
    figures->add("largest_cpu_ms", *std::max_element(cpu.begin(), cpu.end()) * 1e3);
    figures->add("median_ms", typical * 1e3);
    figures->add("largest/median", typical > 0.0 ? largest / typical : 0.0);
    figures->add("initial_ms", initial * 1e3);
    figures->add("steps", static_cast<double>(steps.size()));
    figures->add("models", static_cast<double>(store->modelsById().size()));
    std::system(("rm -rf " + dir).c_str());
    return true;
}

void BM_LoadingSteps(benchmark::State& state) {
    const int models = static_cast<int>(state.range(0));
    report(state, [models](Figures* figures) { return playLoading(models, figures); });
}
BENCHMARK(BM_LoadingSteps)->Arg(10000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
