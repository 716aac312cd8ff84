// Loading speed on games of about 1,000, 10,000 and 40,000 models written by
// `kxdata write-sample DIR --models N`, as loose files and as an AES archive:
//   BM_ParseData/N      parseData on every attributes file of the game, side by side with a bare
//                       msgpack-cxx unpack of the same bytes (parse/unpack: the share of its speed);
//                       parse/tuned: the same against an unpack that reuses one zone and reads
//                       strings in place, as parseData does
//   BM_Load/N/archive   the whole staged load (loadInitialData, then one step per call as the
//                       loading screen makes them): its largest single step (the median over the
//                       runs of each run's largest, and the file that step read), the initial load
//                       and the time per model, wall and processor time; N = 0 is the sample as
//                       kxdata writes it
//   BM_Clear/N          clear() of the loaded game
//   BM_LoadDemo/archive the same staged load of the demo game: its loose files as the build wrote
//                       them (build/demo, or the folder KX_BENCH_GAME names) and the demo written
//                       again by kxdata as an AES archive
//   BM_ParseDemo        parseData on the demo's attributes files, against the bare unpack
// Key derivations per AES entry are counted for the archive loads. The debug log goes to a sink
// that drops it, so that the terminal does not time the steps.
#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <ctime>
#include <msgpack.hpp>
#include <unistd.h>

#include "model/KXDebugLog.h"
#include "model/KXModelController.h"
#include "model/KXSecrets.h"
#include "model/archive/KXArchiveReader.h"
#include "model/archive/KXWinZipAes.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// This thread's processor time: on a busy machine a step's wall time also holds the time the
// thread waited for a processor.
double threadSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The games, written once per process into a temporary folder that goes at exit.
class Games {
public:
    ~Games() {
        std::error_code error;
        if (!m_root.empty()) {
            fs::remove_all(m_root, error);
        }
    }

    // DIR of the game of about `models` models (0: the sample as it is); empty when kxdata could
    // not write it.
    const std::string& game(int models, bool archive) {
        const std::string key = std::to_string(models) + (archive ? "-aes" : "-folder");
        auto found = m_games.find(key);
        if (found != m_games.end()) {
            return found->second;
        }
        const std::string dir = root() + "/" + key;
        const std::string command = std::string(KX_KXDATA_PATH) + " write-sample " + dir +
                                    (models > 0 ? " --models " + std::to_string(models) : "") +
                                    (archive ? " --archive aes" : "") + " > /dev/null";
        return m_games[key] = (!m_root.empty() && std::system(command.c_str()) == 0) ? dir : std::string();
    }

    // The demo: the folder the build wrote (or KX_BENCH_GAME), or written as an archive.
    const std::string& demo(bool archive) {
        if (!archive) {
            const char* given = std::getenv("KX_BENCH_GAME");
            return m_games["demo-folder"] = given != nullptr ? given : KX_DEMO_DIR;
        }
        auto found = m_games.find("demo-aes");
        if (found != m_games.end()) {
            return found->second;
        }
        const std::string dir = root() + "/demo-aes";
        const std::string command = std::string(KX_KXDATA_PATH) +
                                    " write-demo --scenario platformer --archive " + dir + " > /dev/null";
        return m_games["demo-aes"] =
                   (!m_root.empty() && std::system(command.c_str()) == 0) ? dir : std::string();
    }

private:
    const std::string& root() {
        if (m_root.empty()) {
            char pattern[] = "/tmp/kxbench.XXXXXX";
            m_root = ::mkdtemp(pattern) != nullptr ? pattern : "";
        }
        return m_root;
    }

    std::string m_root;
    std::map<std::string, std::string> m_games;
};

Games& games() {
    static Games all;
    return all;
}

// Runs in the game's folder and restores the working folder afterwards.
class InFolder {
public:
    explicit InFolder(const std::string& dir) {
        m_ok =
            ::getcwd(m_previous, sizeof m_previous) != nullptr && !dir.empty() && ::chdir(dir.c_str()) == 0;
    }
    ~InFolder() {
        if (m_ok && ::chdir(m_previous) != 0) {
            std::abort();
        }
    }
    bool ok() const { return m_ok; }

private:
    char m_previous[PATH_MAX] = {};
    bool m_ok = false;
};

void silenceLog() {
    setDebugLogSink([](const std::string&) {});
}

struct LoadTimes {
    double initial = 0.0;
    double initialCpu = 0.0;
    double total = 0.0;
    double largestStep = 0.0;
    double largestStepCpu = 0.0;
    std::string largestStepFile;
    size_t steps = 0;
};

// The file the next step reads.
std::string nextFile(KXModelController& store, bool archive) {
    const KXModelLoadState& state = store.loadState();
    return archive && !state.firstFile ? state.currentName : store.packFileName(state);
}

// The staged load as the player drives it; false when it failed.
bool stagedLoad(bool archive, LoadTimes& times) {
    KXModelController* store = KXModelController::shared();
    store->clear();
    store->setArchiveMode(archive);
    const Clock::time_point start = Clock::now();
    const double initialCpuStart = threadSeconds();
    store->loadInitialData("data/data.pkg", kStoredArchivePassword);
    times.initialCpu = threadSeconds() - initialCpuStart;
    times.initial = secondsSince(start);
    bool done = false;
    while (!done) {
        const std::string file = nextFile(*store, archive);
        const Clock::time_point stepStart = Clock::now();
        const double cpuStart = threadSeconds();
        done = archive ? store->loadNextArchiveFile(kStoredArchivePassword) : store->loadNextFile();
        times.largestStepCpu = std::max(times.largestStepCpu, threadSeconds() - cpuStart);
        const double step = secondsSince(stepStart);
        if (step > times.largestStep) {
            times.largestStep = step;
            times.largestStepFile = file;
        }
        ++times.steps;
    }
    times.total = secondsSince(start);
    store->closeArchive();
    store->setArchiveMode(false);
    return !store->loadFailed() && store->lastError().empty();
}

std::vector<std::string> attributeFiles(const std::string& dir) {
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(dir + "/data")) {
        const std::string name = entry.path().filename().string();
        if (name.find(".attributes.pack") != std::string::npos) {
            std::ifstream in(entry.path(), std::ios::binary);
            std::ostringstream bytes;
            bytes << in.rdbuf();
            files.push_back(bytes.str());
        }
    }
    return files;
}

__attribute__((noinline)) size_t unpackAll(const std::vector<std::string>& files) {
    size_t objects = 0;
    for (const std::string& bytes : files) {
        size_t offset = 0;
        while (offset < bytes.size()) {
            msgpack::object_handle handle = msgpack::unpack(bytes.data(), bytes.size(), offset);
            benchmark::DoNotOptimize(handle.get().type);
            ++objects;
        }
    }
    return objects;
}

bool inPlace(msgpack::type::object_type type, size_t, void*) {
    return type == msgpack::type::STR || type == msgpack::type::BIN;
}

__attribute__((noinline)) size_t unpackAllTuned(const std::vector<std::string>& files) {
    size_t objects = 0;
    msgpack::zone zone;
    for (const std::string& bytes : files) {
        size_t offset = 0;
        while (offset < bytes.size()) {
            zone.clear();
            bool referenced = false;
            const msgpack::object object =
                msgpack::unpack(zone, bytes.data(), bytes.size(), offset, referenced, inPlace, nullptr);
            benchmark::DoNotOptimize(object.type);
            ++objects;
        }
    }
    return objects;
}

void parseDataOf(benchmark::State& state, const std::string& dir) {
    silenceLog();
    InFolder folder(dir);
    LoadTimes times;
    if (!folder.ok() || !stagedLoad(false, times)) { // installs the game's key table
        state.SkipWithError("cannot load the game");
        return;
    }
    const std::vector<std::string> files = attributeFiles(dir);
    size_t bytes = 0;
    for (const std::string& file : files) {
        bytes += file.size();
    }
    KXModelController* store = KXModelController::shared();
    double parseSeconds = 0.0;
    double unpackSeconds = 0.0;
    double tunedSeconds = 0.0;
    size_t models = 0;
    for (auto _ : state) {
        store->clear();
        const Clock::time_point start = Clock::now();
        for (const std::string& file : files) {
            store->parseData(reinterpret_cast<const unsigned char*>(file.data()), file.size(), 0);
        }
        const double parse = secondsSince(start);
        const Clock::time_point middle = Clock::now();
        benchmark::DoNotOptimize(unpackAll(files));
        unpackSeconds += secondsSince(middle);
        const Clock::time_point tuned = Clock::now();
        benchmark::DoNotOptimize(unpackAllTuned(files));
        tunedSeconds += secondsSince(tuned);
        parseSeconds += parse;
        state.SetIterationTime(parse);
        models = store->modelsById().size();
    }
    const double megabytes = static_cast<double>(bytes) * static_cast<double>(state.iterations()) / 1e6;
    state.counters["models"] = static_cast<double>(models);
    state.counters["parse_MB/s"] = megabytes / parseSeconds;
    state.counters["unpack_MB/s"] = megabytes / unpackSeconds;
    state.counters["parse/unpack"] = unpackSeconds / parseSeconds;
    state.counters["parse/tuned"] = tunedSeconds / parseSeconds;
    state.counters["us/model"] = parseSeconds * 1e6 / static_cast<double>(state.iterations() * models);
    store->clear();
}
void BM_ParseData(benchmark::State& state) {
    parseDataOf(state, games().game(static_cast<int>(state.range(0)), false));
}
BENCHMARK(BM_ParseData)->Arg(1000)->Arg(10000)->Arg(40000)->UseManualTime()->Unit(benchmark::kMillisecond);

void loadOf(benchmark::State& state, const std::string& dir, bool archive) {
    silenceLog();
    InFolder folder(dir);
    if (!folder.ok()) {
        state.SkipWithError("cannot write the game");
        return;
    }
    KXModelController* store = KXModelController::shared();
    std::vector<LoadTimes> runs;
    double initial = 0.0;
    double total = 0.0;
    const uint64_t derivationsBefore = winZipAesKeyDerivations();
    for (auto _ : state) {
        LoadTimes times;
        if (!stagedLoad(archive, times)) {
            state.SkipWithError(store->lastError().c_str());
            break;
        }
        state.SetIterationTime(times.total);
        initial += times.initial;
        total += times.total;
        runs.push_back(times);
    }
    if (runs.empty()) {
        return;
    }
    // The median run by its largest step: a loaded machine preempts some steps of some runs.
    std::sort(runs.begin(), runs.end(),
              [](const LoadTimes& a, const LoadTimes& b) { return a.largestStep < b.largestStep; });
    const LoadTimes& median = runs[runs.size() / 2];
    const double count = static_cast<double>(runs.size());
    const double models = static_cast<double>(store->modelsById().size());
    state.counters["models"] = models;
    state.counters["steps"] = static_cast<double>(median.steps);
    state.counters["largest_step_ms"] = median.largestStep * 1e3;
    state.counters["worst_step_ms"] = runs.back().largestStep * 1e3;
    std::vector<double> cpu;
    std::vector<double> initialCpu;
    for (const LoadTimes& run : runs) {
        cpu.push_back(run.largestStepCpu);
        initialCpu.push_back(run.initialCpu);
    }
    std::sort(cpu.begin(), cpu.end());
    std::sort(initialCpu.begin(), initialCpu.end());
    state.counters["largest_step_cpu_ms"] = cpu[cpu.size() / 2] * 1e3;
    state.counters["initial_cpu_ms"] = initialCpu[initialCpu.size() / 2] * 1e3;
    state.counters["initial_ms"] = initial * 1e3 / count;
    state.counters["us/model"] = total * 1e6 / count / models;
    if (archive) {
        state.counters["derivations"] =
            static_cast<double>(winZipAesKeyDerivations() - derivationsBefore) / count;
        KXArchiveReader reader("data/data.pkg");
        double entries = 0;
        for (std::string name = reader.firstEntryName(); !name.empty(); name = reader.nextEntryName()) {
            ++entries;
        }
        state.counters["entries"] = entries;
    }
    state.SetLabel("largest: " + median.largestStepFile);
    store->clear();
}
void BM_Load(benchmark::State& state) {
    const bool archive = state.range(1) != 0;
    loadOf(state, games().game(static_cast<int>(state.range(0)), archive), archive);
}
BENCHMARK(BM_Load)
    ->ArgsProduct({{0, 1000, 10000, 40000}, {0, 1}})
    ->ArgNames({"models", "archive"})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_LoadDemo(benchmark::State& state) {
    const bool archive = state.range(0) != 0;
    loadOf(state, games().demo(archive), archive);
}
BENCHMARK(BM_LoadDemo)->Arg(0)->Arg(1)->ArgName("archive")->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_ParseDemo(benchmark::State& state) {
    parseDataOf(state, games().demo(false));
}
BENCHMARK(BM_ParseDemo)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_Clear(benchmark::State& state) {
    silenceLog();
    InFolder folder(games().game(static_cast<int>(state.range(0)), false));
    KXModelController* store = KXModelController::shared();
    size_t models = 0;
    for (auto _ : state) {
        LoadTimes times;
        if (!folder.ok() || !stagedLoad(false, times)) {
            state.SkipWithError("cannot load the game");
            break;
        }
        models = store->modelsById().size();
        const Clock::time_point start = Clock::now();
        store->clear();
        state.SetIterationTime(secondsSince(start));
    }
    state.counters["models"] = static_cast<double>(models);
}
BENCHMARK(BM_Clear)->Arg(1000)->Arg(10000)->Arg(40000)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
