// Loading speed: parseData on a generated game of about 10,000 models against plain msgpack-cxx
// unpacking of the same bytes, and whole loads (folder and archive) in steps per second.
#include <chrono>
#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <ftw.h>
#include <unistd.h>

#include "model/KXModelController.h"
#include "model/KXSecrets.h"
#include "model/classes/KXModelGeneralSettings.h"
#include "tools/kxdata/KXGameWriter.h"

namespace {

constexpr int kModelCount = 10000;
constexpr int kChildrenPerSection = 9;
constexpr const char* kUserId = "bench-user";

// Level sections, each holding a few objects of several classes, up to kModelCount models.
kxdata::ModelList generateGame() {
    KXModelController* store = KXModelController::shared();
    store->clear();
    auto settings = KXModelGeneralSettings::shared();
    settings->userIdAttribute()->setValue(kUserId, true);
    kxdata::ModelList models{settings};
    static const char* const kChildClasses[] = {"KXModelObject", "KXModelObjectLabel", "KXModelObjectImage",
                                                "KXModelSprite", "KXModelObjectButton"};
    while (static_cast<int>(models.size()) < kModelCount) {
        std::shared_ptr<KXModel> section = store->createModel("KXModelLevelSection");
        section->setName("Section " + std::to_string(models.size()));
        models.push_back(section);
        for (int i = 0; i < kChildrenPerSection && static_cast<int>(models.size()) < kModelCount; ++i) {
            std::shared_ptr<KXModel> child = store->createModel(kChildClasses[i % 5]);
            child->setName("Object " + std::to_string(models.size()));
            section->addChild(child, true);
            models.push_back(child);
        }
    }
    settings->lastIdAttribute()->setValue(static_cast<unsigned int>(models.back()->id()), true);
    return models;
}

// The attributes maps of the whole game in one buffer; the game's key table is installed.
const std::string& attributeBytes() {
    static const std::string bytes = [] {
        const kxdata::ModelList models = generateGame();
        kxdata::packGame(models, kUserId, models.size());
        std::string packed = kxdata::packModels(models, false);
        KXModelController::shared()->clear();
        return packed;
    }();
    return bytes;
}

void parseOnce(const std::string& bytes) {
    KXModelController::shared()->parseData(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                                           0);
}

size_t unpackOnce(const std::string& bytes) {
    size_t offset = 0;
    size_t objects = 0;
    while (offset < bytes.size()) {
        msgpack::object_handle handle = msgpack::unpack(bytes.data(), bytes.size(), offset);
        benchmark::DoNotOptimize(handle.get().type);
        ++objects;
    }
    return objects;
}

void BM_ParseData(benchmark::State& state) {
    const std::string& bytes = attributeBytes();
    for (auto _ : state) {
        state.PauseTiming();
        KXModelController::shared()->clear();
        state.ResumeTiming();
        parseOnce(bytes);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
    state.counters["models"] = static_cast<double>(KXModelController::shared()->modelsById().size());
    KXModelController::shared()->clear();
}
BENCHMARK(BM_ParseData)->Unit(benchmark::kMillisecond);

void BM_PlainUnpack(benchmark::State& state) {
    const std::string& bytes = attributeBytes();
    for (auto _ : state) {
        benchmark::DoNotOptimize(unpackOnce(bytes));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_PlainUnpack)->Unit(benchmark::kMillisecond);

// Both on the same bytes in each iteration, reported as MB/s and parseData's share of the
// plain unpacking speed.
void BM_ParseDataVersusUnpack(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    const std::string& bytes = attributeBytes();
    double parseSeconds = 0.0;
    double unpackSeconds = 0.0;
    for (auto _ : state) {
        KXModelController::shared()->clear();
        const auto start = Clock::now();
        parseOnce(bytes);
        const auto middle = Clock::now();
        benchmark::DoNotOptimize(unpackOnce(bytes));
        const auto end = Clock::now();
        parseSeconds += std::chrono::duration<double>(middle - start).count();
        unpackSeconds += std::chrono::duration<double>(end - middle).count();
    }
    const double megabytes =
        static_cast<double>(bytes.size()) * static_cast<double>(state.iterations()) / 1e6;
    state.counters["parse_MB/s"] = megabytes / parseSeconds;
    state.counters["unpack_MB/s"] = megabytes / unpackSeconds;
    state.counters["parse/unpack"] = unpackSeconds / parseSeconds;
    KXModelController::shared()->clear();
}
BENCHMARK(BM_ParseDataVersusUnpack)->Unit(benchmark::kMillisecond);

// The generated game on disk, as loose files and as an AES archive; the folders go at exit.
struct GameOnDisk {
    std::string folderGame;
    std::string archiveGame;

    GameOnDisk() {
        char pattern[] = "/tmp/kxbench.XXXXXX";
        const std::string root = ::mkdtemp(pattern);
        folderGame = root + "/folder";
        archiveGame = root + "/archive";
        const kxdata::ModelList models = generateGame();
        const std::vector<kxdata::PackFile> files = kxdata::packGame(models, kUserId, 250);
        kxdata::writeFolder(folderGame, files);
        kxdata::writeFolder(archiveGame, {});
        kxdata::writeArchive(archiveGame + "/data/data.pkg", files, kxdata::ArchiveCipher::Aes256,
                             decodePassword(kStoredArchivePassword));
        KXModelController::shared()->clear();
        m_root = root;
    }
    ~GameOnDisk() {
        ::nftw(
            m_root.c_str(),
            [](const char* path, const struct stat*, int, struct FTW*) { return ::remove(path); }, 16,
            FTW_DEPTH | FTW_PHYS);
    }

private:
    std::string m_root;
};

const GameOnDisk& gameOnDisk() {
    static const GameOnDisk game;
    return game;
}

void loadWhole(benchmark::State& state, bool archive) {
    const std::string& dir = archive ? gameOnDisk().archiveGame : gameOnDisk().folderGame;
    char previous[PATH_MAX];
    if (::getcwd(previous, sizeof previous) == nullptr || ::chdir(dir.c_str()) != 0) {
        state.SkipWithError("cannot enter the game folder");
        return;
    }
    KXModelController* store = KXModelController::shared();
    int64_t steps = 0;
    for (auto _ : state) {
        store->clear();
        store->setArchiveMode(archive);
        store->loadInitialData("data/data.pkg", kStoredArchivePassword);
        bool done = false;
        while (!done) {
            done = archive ? store->loadNextArchiveFile(kStoredArchivePassword) : store->loadNextFile();
            ++steps;
        }
        store->closeArchive();
    }
    if (store->loadFailed() || !store->lastError().empty()) {
        state.SkipWithError(store->lastError().c_str());
    }
    state.counters["steps"] = benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kIsRate);
    state.counters["models"] = static_cast<double>(store->modelsById().size());
    store->clear();
    store->setArchiveMode(false);
    if (::chdir(previous) != 0) {
        state.SkipWithError("cannot return to the working folder");
    }
}

void BM_LoadFolder(benchmark::State& state) {
    loadWhole(state, false);
}
BENCHMARK(BM_LoadFolder)->Unit(benchmark::kMillisecond);

void BM_LoadArchive(benchmark::State& state) {
    loadWhole(state, true);
}
BENCHMARK(BM_LoadArchive)->Unit(benchmark::kMillisecond);

} // namespace
