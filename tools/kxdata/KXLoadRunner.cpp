#include "tools/kxdata/KXLoadRunner.h"

#include <unistd.h>

#include "cocos2d.h"
#include "model/KXModelController.h"
#include "model/KXSecrets.h"

namespace kxdata {

namespace {

// Far above what any game needs (files plus one step per class and pass); only a loader fault
// could reach it.
constexpr uint64_t kStepLimit = 10000000;

} // namespace

LoadOutcome runLoad(const std::string& dir) {
    LoadOutcome outcome;
    if (::chdir(dir.c_str()) != 0) {
        outcome.error = "cannot enter " + dir;
        return outcome;
    }
    KXModelController* controller = KXModelController::shared();
    controller->clear();
    const bool archiveMode = KXModelController::archivePresent("data/data.pkg");
    controller->setArchiveMode(archiveMode);
    controller->loadInitialData("data/data.pkg", kStoredArchivePassword);

    bool done = false;
    while (!done && outcome.steps < kStepLimit) {
        ++outcome.steps;
        done = archiveMode ? controller->loadNextArchiveFile(kStoredArchivePassword)
                           : controller->loadNextFile();
    }
    controller->closeArchive();

    outcome.progress = controller->loadingProgress();
    if (!done) {
        outcome.error = "the load did not end";
    } else if (controller->loadFailed() || !controller->lastError().empty()) {
        outcome.error = controller->lastError();
    } else {
        outcome.ok = true;
    }
    return outcome;
}

} // namespace kxdata
