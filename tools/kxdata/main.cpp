// kxdata: writes test games and loads exported ones the way the player does.
//
//   kxdata write-sample DIR [--archive none|zipcrypto|aes] [--all-classes] [--models N]
//   kxdata write-demo DIR
//   kxdata write-demo --scenario NAME [--archive] DIR
//   kxdata scenarios
//   kxdata write-effects DIR
//   kxdata load DIR
//   kxdata dump DIR
//   kxdata graph DIR
//   kxdata password
//   kxdata roundtrip DIR [--every]

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "model/KXModel.h"
#include "model/KXModelController.h"
#include "model/KXSecrets.h"
#include "tools/kxdata/KXGameWriter.h"
#include "tools/kxdata/KXLoadRunner.h"
#include "tools/kxdata/KXModelJson.h"
#include "tools/kxdata/KXSampleGame.h"
#include "tools/kxdata/demo/demo_game.h"
#include "tools/kxdata/effects/effects_scenario.h"
#include "tools/kxdata/graph_command.h"
#include "tools/kxdata/hostile/hostile_game.h"
#include "tools/kxdata/roundtrip_command.h"
#include "tools/kxdata/sample_controls.h"
#include "tools/kxdata/sample_large.h"
#include "tools/kxdata/sample_media.h"
#include "tools/kxdata/scenarios/scenarios.h"

namespace {

constexpr int kExitUsage = 1;
constexpr int kExitLoadFailed = 2;
// Models per pack file of the sample, small so that most classes span several files.
constexpr size_t kSampleModelsPerFile = 2;
// A grown game packs its classes the way big exports do: files of tens of kilobytes.
constexpr size_t kGrownModelsPerFile = 100;
constexpr size_t kMaxGrownModels = 1000000;

int usage() {
    std::fprintf(
        stderr, "usage: kxdata write-sample DIR [--archive none|zipcrypto|aes] [--all-classes] [--models N]\n"
                "       kxdata write-demo DIR\n"
                "       kxdata write-demo --scenario NAME [--archive] DIR\n"
                "       kxdata scenarios\n"
                "       kxdata write-effects DIR\n"
                "       kxdata load DIR\n"
                "       kxdata dump DIR\n"
                "       kxdata graph DIR\n"
                "       kxdata password\n"
                "       kxdata roundtrip DIR [--every]\n");
    return kExitUsage;
}

// Pack files and the archive of an earlier sample in DIR/data: left there, they would be read
// with the new game (an archive even instead of it).
void removeEarlierOutput(const std::string& dir) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(dir + "/data", error)) {
        const std::string name = entry.path().filename().string();
        const bool packFile = name.size() > 5 && name.compare(name.size() - 5, 5, ".pack") == 0;
        if (entry.is_regular_file() && (packFile || name == "data.pkg")) {
            std::filesystem::remove(entry.path(), error);
        }
    }
}

struct SampleOptions {
    std::string archive;
    bool allClasses = false;
    size_t models = 0; // 0: the sample as it is
};

int writeSample(const std::string& dir, const SampleOptions& options) {
    const std::string& archive = options.archive;
    kxdata::ArchiveCipher cipher = kxdata::ArchiveCipher::None;
    if (archive == "zipcrypto") {
        cipher = kxdata::ArchiveCipher::ZipCrypto;
    } else if (archive == "aes") {
        cipher = kxdata::ArchiveCipher::Aes256;
    } else if (!archive.empty() && archive != "none") {
        return usage();
    }
    kxdata::SampleGame game = kxdata::buildSampleGame();
    if (options.allClasses) {
        kxdata::addEveryRegisteredClass(game);
    }
    if (options.models > 0) {
        kxdata::growSampleGame(game, options.models);
    }
    removeEarlierOutput(dir);
    const std::vector<kxdata::PackFile> files = kxdata::packGame(
        game.models, kxdata::kSampleUserId, options.models > 0 ? kGrownModelsPerFile : kSampleModelsPerFile);
    if (archive.empty()) {
        kxdata::writeFolder(dir, files);
    } else {
        kxdata::writeFolder(dir, {});
        kxdata::writeArchive(dir + "/data/data.pkg", files, cipher, decodePassword(kStoredArchivePassword));
    }
    std::printf("models %zu\nfiles %zu\n", game.models.size(), files.size());
    return kxdata::writeSampleMedia(dir, game.models) == 0 ? 0 : kExitUsage;
}

// write-sample DIR and its options, in any order.
int writeSampleCommand(const std::vector<std::string>& args) {
    SampleOptions options;
    for (size_t i = 2; i < args.size(); ++i) {
        if (args[i] == "--all-classes") {
            options.allClasses = true;
        } else if (args[i] == "--archive" && i + 1 < args.size() && !args[i + 1].empty()) {
            options.archive = args[++i];
        } else if (args[i] == "--models" && i + 1 < args.size()) {
            const std::string& count = args[++i];
            char* end = nullptr;
            const unsigned long long value = std::strtoull(count.c_str(), &end, 10);
            if (count.empty() || *end != '\0' || count[0] == '-' || value == 0 || value > kMaxGrownModels) {
                return usage();
            }
            options.models = static_cast<size_t>(value);
        } else {
            return usage();
        }
    }
    return writeSample(args[1], options);
}

// write-demo --scenario NAME [--archive] DIR
int writeScenario(const std::vector<std::string>& args) {
    const kxdata::Scenario* scenario = kxdata::findScenario(args[2]);
    const bool archive = args.size() == 5;
    if (scenario == nullptr || (archive && args[3] != "--archive")) {
        return usage();
    }
    const std::string& dir = args.back();
    removeEarlierOutput(dir);
    const size_t missing = scenario->write(dir);
    if (archive) {
        kxdata::packIntoArchive(dir);
    }
    return missing == 0 ? 0 : kExitUsage;
}

// Registered models ordered by id.
std::vector<std::shared_ptr<KXModel>> modelsById() {
    std::vector<std::shared_ptr<KXModel>> models;
    for (const auto& entry : KXModelController::shared()->modelsById()) {
        models.push_back(entry.second);
    }
    std::sort(models.begin(), models.end(), [](const auto& a, const auto& b) { return a->id() < b->id(); });
    return models;
}

bool loadOrReport(const std::string& dir, kxdata::LoadOutcome& outcome) {
    outcome = kxdata::runLoad(dir);
    if (!outcome.ok) {
        std::fprintf(stderr, "error: %s\n", outcome.error.empty() ? "load failed" : outcome.error.c_str());
    }
    return outcome.ok;
}

int load(const std::string& dir) {
    kxdata::LoadOutcome outcome;
    if (!loadOrReport(dir, outcome)) {
        return kExitLoadFailed;
    }
    std::map<std::string, size_t> perClass;
    const auto models = modelsById();
    for (const auto& model : models) {
        ++perClass[model->className()];
    }
    std::printf("steps %llu\nprogress %d\nmodels %zu\n", static_cast<unsigned long long>(outcome.steps),
                outcome.progress, models.size());
    for (const auto& entry : perClass) {
        std::printf("%s %zu\n", entry.first.c_str(), entry.second);
    }
    kxdata::reportMediaFiles(models, stdout);
    return 0;
}

int dump(const std::string& dir) {
    kxdata::LoadOutcome outcome;
    if (!loadOrReport(dir, outcome)) {
        return kExitLoadFailed;
    }
    for (const auto& model : modelsById()) {
        std::printf("%s\n", kxdata::modelToJson(*model).c_str());
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        if (args.size() == 1 && args[0] == "password") {
            std::printf("%s\n", decodePassword(kStoredArchivePassword).c_str());
            return 0;
        }
        if (args.size() == 2 && args[0] == "load") {
            return load(args[1]);
        }
        if (args.size() == 2 && args[0] == "dump") {
            return dump(args[1]);
        }
        if (args.size() == 2 && args[0] == "graph") {
            return kxdata::graphCommand(args[1]);
        }
        if (args.size() >= 2 && args[0] == "write-sample") {
            return writeSampleCommand(args);
        }
        if (args.size() == 2 && args[0] == "write-demo") {
            removeEarlierOutput(args[1]);
            return kxdata::demo::writeDemo(args[1]) == 0 ? 0 : kExitUsage;
        }
        if ((args.size() == 4 || args.size() == 5) && args[0] == "write-demo" && args[1] == "--scenario") {
            return writeScenario(args);
        }
        if (args.size() == 1 && args[0] == "scenarios") {
            for (const kxdata::Scenario& scenario : kxdata::scenarios()) {
                std::printf("%s\t%s\n", scenario.name, scenario.summary);
            }
            return 0;
        }
        if (args.size() == 2 && args[0] == "write-effects") {
            removeEarlierOutput(args[1]);
            return kxdata::effects::writeEffectsScenario(args[1]) == 0 ? 0 : kExitUsage;
        }
        if (args.size() == 2 && args[0] == "roundtrip") {
            return kxdata::roundtripCommand(args[1]);
        }
        if (args.size() == 3 && args[0] == "roundtrip" && args[2] == "--every") {
            return kxdata::roundtripCommand(args[1], true);
        }
    } catch (const std::exception& error) {
        // A game that loaded can still fail later (a dump of models read with the wrong keys):
        // that is the game's fault, reported as a failed load.
        std::fprintf(stderr, "error: %s\n", error.what());
        const bool readsGame = !args.empty() && (args[0] == "load" || args[0] == "dump" ||
                                                 args[0] == "graph" || args[0] == "roundtrip");
        return readsGame ? kExitLoadFailed : kExitUsage;
    }
    return usage();
}
