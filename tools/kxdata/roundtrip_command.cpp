#include "tools/kxdata/roundtrip_command.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "cocos2d.h"
#include "model/KXModel.h"
#include "model/KXModelController.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelGeneralSettings.h"
#include "tools/kxdata/KXGameWriter.h"
#include "tools/kxdata/KXLoadRunner.h"
#include "tools/kxdata/model_snapshot.h"

namespace kxdata {

namespace {

constexpr int kExitDifferent = 1;
constexpr int kExitLoadFailed = 2;
constexpr size_t kModelsPerFile = 3;
// The dictionary forms write floats with "%f", points with three and sizes and rectangles
// with two decimals.
constexpr double kDictionaryTolerance = 0.0051;

using SnapshotMap = std::map<uint32_t, ModelSnapshot>;

std::vector<std::shared_ptr<KXModel>> storedModels() {
    std::vector<std::shared_ptr<KXModel>> models;
    for (const auto& entry : KXModelController::shared()->modelsById()) {
        models.push_back(entry.second);
    }
    std::sort(models.begin(), models.end(), [](const auto& a, const auto& b) { return a->id() < b->id(); });
    return models;
}

SnapshotMap snapshotStore() {
    SnapshotMap snapshots;
    for (const std::shared_ptr<KXModel>& model : storedModels()) {
        snapshots.emplace(model->id(), snapshotModel(*model));
    }
    return snapshots;
}

bool load(const std::string& dir, const char* what) {
    const LoadOutcome outcome = runLoad(dir);
    if (!outcome.ok) {
        std::fprintf(stderr, "error: %s load: %s\n", what,
                     outcome.error.empty() ? "failed" : outcome.error.c_str());
    }
    return outcome.ok;
}

// Prints the first difference between the two stores; true when they are equal.
bool compareStores(const SnapshotMap& before, const SnapshotMap& after, bool every) {
    bool equal = true;
    for (const auto& entry : before) {
        auto found = after.find(entry.first);
        if (found == after.end()) {
            std::printf("difference: model %s: missing after the pack round trip\n",
                        describeModel(entry.second).c_str());
            equal = false;
        } else {
            const std::string difference = firstDifference(entry.second, found->second, 0.0);
            if (!difference.empty()) {
                std::printf("difference: model %s: %s\n", describeModel(entry.second).c_str(),
                            difference.c_str());
                equal = false;
            }
        }
        if (!equal && !every) {
            return false;
        }
    }
    for (const auto& entry : after) {
        if (before.count(entry.first) == 0) {
            std::printf("difference: model %s: appeared in the pack round trip\n",
                        describeModel(entry.second).c_str());
            equal = false;
        }
    }
    return equal;
}

std::string scratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kxdata-roundtrip-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a scratch folder");
    }
    return pattern;
}

struct ScratchFolder {
    std::string path = scratchFolder();
    ~ScratchFolder() {
        std::error_code error;
        std::filesystem::remove_all(path, error);
    }
};

// Every stored model through its dictionary forms into a fresh model of its class.
bool dictionaryRoundTrip(const SnapshotMap& stored, bool every) {
    bool equal = true;
    KXModelController* controller = KXModelController::shared();
    cocos2d::CCPoolManager* pool = cocos2d::CCPoolManager::sharedPoolManager();
    size_t compared = 0;
    for (const std::shared_ptr<KXModel>& model : storedModels()) {
        cocos2d::CCDictionary* values = model->saveValuesToDictionary();
        cocos2d::CCDictionary* connections = model->saveConnectionsToDictionary();
        std::shared_ptr<KXModel> fresh = controller->createModel(model->className());
        if (!fresh) {
            std::printf("difference: model %s: its class cannot be created\n",
                        describeModel(stored.at(model->id())).c_str());
            equal = false;
            if (!every) {
                return false;
            }
            continue;
        }
        fresh->loadValuesFromDictionary(values);
        fresh->loadConnectionsFromDictionary(connections);
        const ModelSnapshot after = snapshotModel(*fresh);
        if (fresh != model) {
            // The fresh model adopted the stored children; let them go again.
            fresh->removeAllChildren(true);
        }
        fresh.reset();
        pool->pop();
        const ModelSnapshot& before = stored.at(model->id());
        const std::string difference = firstDifference(before, after, kDictionaryTolerance);
        if (!difference.empty()) {
            std::printf("difference: model %s (dictionary form): %s\n", describeModel(before).c_str(),
                        difference.c_str());
            equal = false;
            if (!every) {
                return false;
            }
            continue;
        }
        ++compared;
    }
    std::printf("dictionary round trip: %zu models equal\n", compared);
    return equal;
}

// The registered classes that no model of the game uses: a round trip says nothing about them.
void reportUnusedClasses(const SnapshotMap& stored) {
    std::set<std::string> used;
    for (const auto& entry : stored) {
        used.insert(entry.second.className);
    }
    const std::vector<std::string>& registered = KXModelController::shared()->classNames();
    size_t covered = 0;
    for (const std::string& className : registered) {
        if (used.count(className) != 0) {
            ++covered;
        } else {
            std::printf("class not in the game: %s\n", className.c_str());
        }
    }
    std::printf("classes %zu of %zu registered\n", covered, registered.size());
}

} // namespace

int roundtripCommand(const std::string& dirArgument, bool every) {
    // Loading changes the working folder; both folders are reached by absolute paths.
    const std::string dir = std::filesystem::absolute(dirArgument).string();
    const std::filesystem::path startFolder = std::filesystem::current_path();
    if (!load(dir, "first")) {
        return kExitLoadFailed;
    }
    const SnapshotMap before = snapshotStore();
    std::printf("models %zu\n", before.size());
    reportUnusedClasses(before);

    ScratchFolder scratch;
    {
        const std::vector<std::shared_ptr<KXModel>> models = storedModels();
        std::string userId;
        for (const std::shared_ptr<KXModel>& model : models) {
            if (auto settings = modelCast<KXModelGeneralSettings>(model)) {
                userId = settings->userIdAttribute()->value();
            }
        }
        const std::vector<PackFile> files = packGame(models, userId, kModelsPerFile);
        writeFolder(scratch.path, files);
        std::printf("files %zu\n", files.size());
    }
    KXModelController::shared()->clear();
    const bool reloaded = load(scratch.path, "second");
    std::filesystem::current_path(startFolder);
    if (!reloaded) {
        return kExitLoadFailed;
    }
    const SnapshotMap after = snapshotStore();
    const bool packEqual = compareStores(before, after, every);
    if (!packEqual && !every) {
        return kExitDifferent;
    }
    if (packEqual) {
        std::printf("pack round trip: %zu models equal\n", after.size());
    }
    const bool dictionaryEqual = dictionaryRoundTrip(after, every);
    return packEqual && dictionaryEqual ? 0 : kExitDifferent;
}

} // namespace kxdata
