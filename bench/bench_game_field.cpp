// The game field's frame against the bare physics step it wraps: a world of N bodies (each the
// body of an object on the field) stepped once by the field's frame update (camera, world step,
// fixed step over every object, flash, shake, streaming and removal bookkeeping) and once by a
// bare b2World::Step of the same world, alternately in the same run. The counters give both
// times per frame and their ratio.
//
// BM_ScenarioField/<scenario>: the same frame on a scenario game's own level, written by kxdata and
// played through the player stack as kxsim plays it (headless, 1/60 s frames, each run recipe of
// tests/e2e/scenarios/ with its input; a recipe that never reaches the field reports so). Alternate bare
// steps would run that world at twice its speed and change the game, so there the bare step is Box2D's own
// timer of the step inside the field's frame. The field's update is taken off the scheduler and called,
// timed, just before each engine frame. Only frames whose world stepped count (not paused, not over).
// Counters: means per frame (field_us, its thread CPU time field_cpu_us, step_us, frame_us the whole engine
// frame with it), medians (the laying of new sections makes a few frames far costlier) and the largest frame;
// ratio is the field's median frame over the step's median. One run
// plays the whole recipe once; the scenarios are KX_BENCH_SCENARIOS (comma-separated NAME[:KEY], KEY the
// screen to open when the scenario has no recipe; platformer:world1,shooter).
#include <benchmark/benchmark.h>

#include <box2d/box2d.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench/bench_child.h"
#include "cocos2d.h"
#include "model/KXDebugLog.h"
#include "model/KXModelController.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/classes/KXModelScreenScene.h"
#include "player/app/KXPScreensController.h"
#include "player/base/KXPGameplaySettings.h"
#include "player/field/KXPGameFieldCamera.h"
#include "player/field/KXPScreenScene.h"
#include "player/objects/KXPObject.h"

// The scenario runs need kxdata and the desktop glue (see CMakeLists.txt).
#if defined(KX_KXDATA_PATH) && defined(KX_SOURCE_DIR)
#define KX_BENCH_SCENARIOS 1
#include "tools/kxsim/kxsim_options.h"
#include "tools/kxsim/kxsim_run.h"
#endif

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

#ifdef KX_BENCH_SCENARIOS
// --- a scenario's own level ---

constexpr float kFrameSeconds = 1.0f / 60.0f;
constexpr unsigned int kDefaultFrames = 3000;

// The scenario written into a fresh temporary folder; empty when kxdata could not write it.
std::string writeScenario(const std::string& name) {
    char pattern[] = "/tmp/kxbench.XXXXXX";
    if (::mkdtemp(pattern) == nullptr) {
        return std::string();
    }
    const std::string dir = pattern;
    const std::string command =
        std::string(KX_KXDATA_PATH) + " write-demo --scenario " + name + " " + dir + " > /dev/null 2>&1";
    return std::system(command.c_str()) == 0 ? dir : std::string();
}

std::string recipeFolder() {
    const char* recipes = std::getenv("KX_RECIPE_DIR");
    return recipes != nullptr ? std::string(recipes) : std::string(KX_SOURCE_DIR) + "/tests/e2e/scenarios";
}

// The scenario's recipe files (NAME.args, NAME.N.args), in name order.
std::vector<std::string> recipesOf(const std::string& name) {
    std::vector<std::string> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(recipeFolder(), error)) {
        // NAME.args, or NAME.N.args with N a number.
        const std::string file = entry.path().filename().string();
        const std::string number =
            file.size() > name.size() + 6 ? file.substr(name.size() + 1, file.size() - name.size() - 6) : "";
        const bool numbered = !number.empty() &&
                              number.find_first_not_of("0123456789") == std::string::npos &&
                              file == name + "." + number + ".args";
        if (file == name + ".args" || numbered) {
            found.push_back(entry.path().string());
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

// The recipe as kxsim would read it; without one (empty path), the frames and the screen to open.
bool readRecipe(const std::string& path, const std::string& openKey, const std::string& gameDir,
                SimOptions* options) {
    std::ifstream in;
    if (!path.empty()) {
        in.open(path);
    }
    std::vector<std::string> arguments = {gameDir};
    bool framesGiven = false;
    if (!in && !openKey.empty()) {
        arguments.push_back("--open");
        arguments.push_back(openKey);
    }
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string option;
        std::string value;
        words >> option >> value;
        if (option.empty() || option[0] == '#' || option == "--trace" || option == "--screenshot" ||
            option == "--dump-store") {
            continue;
        }
        framesGiven = framesGiven || option == "--frames";
        arguments.push_back(option);
        if (!value.empty()) {
            arguments.push_back(value);
        }
    }
    if (!framesGiven) {
        arguments.push_back("--frames");
        arguments.push_back(std::to_string(kDefaultFrames));
    }
    std::string error;
    return parseSimOptions(arguments, options, &error);
}

// The game field of the running scene, or null (menus, transitions).
KXPScreenScene* runningField() {
    CCScene* scene = CCDirector::sharedDirector()->getRunningScene();
    return scene != nullptr ? dynamic_cast<KXPScreenScene*>(scene->getChildByTag(0)) : nullptr;
}

// This thread's processor time: on a busy machine the wall time also holds waits for a processor.
double threadSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double medianOf(std::vector<double> values) {
    if (values.empty()) {
        return 0.0;
    }
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

struct FieldFigures {
    std::vector<double> fieldFrames;
    std::vector<double> stepFrames;
    double fieldCpuSeconds = 0.0;
    double fieldSeconds = 0.0;
    double stepSeconds = 0.0;
    double frameSeconds = 0.0;
    unsigned int steppedFrames = 0;
    int bodies = 0;
    int contacts = 0;
    unsigned int objects = 0;
};

// Plays the recipe in the game's folder, as kxsim does; false when the game did not load.
bool playScenario(const SimOptions& options, FieldFigures* figures) {
    // The debug log would time the terminal.
    setDebugLogSink([](const std::string&) {});
    SimRun run(options);

    using Clock = std::chrono::steady_clock;
    KXPScreenScene* taken = nullptr;
    Clock::time_point start;
    bool stepped = false;
    SimFrameHooks hooks;
    hooks.before = [&](unsigned int) {
        KXPScreenScene* field = runningField();
        start = Clock::now();
        const double cpuStart = threadSeconds();
        stepped = false;
        if (field == nullptr) {
            return;
        }
        if (field != taken) {
            CCDirector::sharedDirector()->getScheduler()->unscheduleUpdateForTarget(field);
            taken = field;
        }
        const unsigned int steps = field->getStepCount();
        field->update(kFrameSeconds);
        const double fieldTime = std::chrono::duration<double>(Clock::now() - start).count();
        const double fieldCpu = threadSeconds() - cpuStart;
        stepped = field->getStepCount() != steps;
        if (stepped) {
            b2World* world = field->getWorld();
            const double step = static_cast<double>(world->GetProfile().step) * 1e-3;
            figures->fieldSeconds += fieldTime;
            figures->fieldCpuSeconds += fieldCpu;
            figures->stepSeconds += step;
            figures->fieldFrames.push_back(fieldTime);
            figures->stepFrames.push_back(step);
            ++figures->steppedFrames;
            figures->bodies = std::max(figures->bodies, world->GetBodyCount());
            figures->contacts = std::max(figures->contacts, world->GetContactCount());
            figures->objects = std::max(figures->objects, field->getObjectLayer()->getChildrenCount());
        }
    };
    hooks.after = [&](unsigned int) {
        if (stepped) {
            figures->frameSeconds += std::chrono::duration<double>(Clock::now() - start).count();
        }
    };
    run.play(hooks);
    return !run.loadFailed();
}

// What a run sends back from its own process.
struct FieldSummary {
    bool loaded = false;
    double frames = 0.0;
    double fieldSeconds = 0.0;
    double fieldCpuSeconds = 0.0;
    double stepSeconds = 0.0;
    double frameSeconds = 0.0;
    double fieldMedian = 0.0;
    double stepMedian = 0.0;
    double fieldMax = 0.0;
    double bodies = 0.0;
    double contacts = 0.0;
    double objects = 0.0;
};

// Each run plays in a child process of its own (bench_child.h). False when that failed.
bool playInChild(const SimOptions& options, FieldSummary* summary) {
    return playInChildProcess<FieldSummary>(
        [&options](FieldSummary* out) {
            FieldFigures figures;
            out->loaded = playScenario(options, &figures);
            out->frames = static_cast<double>(figures.steppedFrames);
            out->fieldSeconds = figures.fieldSeconds;
            out->fieldCpuSeconds = figures.fieldCpuSeconds;
            out->stepSeconds = figures.stepSeconds;
            out->frameSeconds = figures.frameSeconds;
            out->fieldMedian = medianOf(figures.fieldFrames);
            out->stepMedian = medianOf(figures.stepFrames);
            out->fieldMax = figures.fieldFrames.empty()
                                ? 0.0
                                : *std::max_element(figures.fieldFrames.begin(), figures.fieldFrames.end());
            out->bodies = figures.bodies;
            out->contacts = figures.contacts;
            out->objects = static_cast<double>(figures.objects);
            // A game that did not load still reports, as "not loaded".
            return true;
        },
        summary);
}

// name: the scenario; recipe: the path of its recipe, or empty to open openKey with no input.
void BM_ScenarioField(benchmark::State& state, const std::string& name, const std::string& recipe,
                      const std::string& openKey) {
    const std::string dir = writeScenario(name);
    SimOptions options;
    if (dir.empty()) {
        state.SkipWithError(("kxdata cannot write the scenario " + name).c_str());
        return;
    }
    if (!readRecipe(recipe, openKey, dir, &options)) {
        state.SkipWithError("the recipe cannot be read");
        return;
    }
    char previous[PATH_MAX] = {};
    if (::getcwd(previous, sizeof previous) == nullptr || ::chdir(dir.c_str()) != 0) {
        state.SkipWithError("cannot enter the game folder");
        return;
    }
    // The player keeps its store under $HOME: a home of the run's own.
    ::setenv("HOME", (dir + "/home").c_str(), 1);
    ::unsetenv("XDG_DATA_HOME");
    FieldSummary figures;
    bool played = true;
    for (auto _ : state) {
        played = playInChild(options, &figures);
        state.SetIterationTime(figures.fieldSeconds);
    }
    if (::chdir(previous) != 0) {
        std::abort();
    }
    std::system(("rm -rf " + dir).c_str());
    if (!played || !figures.loaded || figures.frames == 0.0) {
        state.SkipWithError(!played           ? "the run failed"
                            : !figures.loaded ? "the game did not load"
                                              : "the field never stepped");
        return;
    }
    const double frames = figures.frames;
    state.counters["frames"] = frames;
    state.counters["field_us"] = figures.fieldSeconds / frames * 1e6;
    state.counters["step_us"] = figures.stepSeconds / frames * 1e6;
    // Medians: on a busy machine a preempted frame or two would decide the means.
    state.counters["ratio"] = figures.stepMedian > 0.0 ? figures.fieldMedian / figures.stepMedian : 0.0;
    state.counters["field_cpu_us"] = figures.fieldCpuSeconds / frames * 1e6;
    state.counters["field_median_us"] = figures.fieldMedian * 1e6;
    state.counters["step_median_us"] = figures.stepMedian * 1e6;
    state.counters["field_max_us"] = figures.fieldMax * 1e6;
    state.counters["frame_us"] = figures.frameSeconds / frames * 1e6;
    state.counters["bodies"] = figures.bodies;
    state.counters["contacts"] = figures.contacts;
    state.counters["objects"] = figures.objects;
}

// One benchmark per recipe of each scenario (by the recipe's file name), or per scenario without one.
const bool g_scenariosRegistered = [] {
    const char* listed = std::getenv("KX_BENCH_SCENARIOS");
    std::istringstream entries(listed != nullptr ? listed : "platformer:world1,shooter");
    for (std::string entry; std::getline(entries, entry, ',');) {
        if (entry.empty()) {
            continue;
        }
        const std::string name = entry.substr(0, entry.find(':'));
        const std::string openKey =
            entry.find(':') != std::string::npos ? entry.substr(entry.find(':') + 1) : "";
        std::vector<std::string> recipes = recipesOf(name);
        if (recipes.empty()) {
            recipes.push_back(std::string());
        }
        for (const std::string& recipe : recipes) {
            const std::string label =
                recipe.empty() ? name : std::filesystem::path(recipe).filename().replace_extension().string();
            benchmark::RegisterBenchmark(("BM_ScenarioField/" + label).c_str(), BM_ScenarioField, name,
                                         recipe, openKey)
                ->Iterations(1)
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond);
        }
    }
    return true;
}();
#endif

} // namespace
