#include "player/desktop/KXPDesktopEntry.h"

#include "cocos2d.h"
#include "model/KXDebugLog.h"
#include "model/KXModelController.h"
#include "model/KXSecrets.h"
#include "model/classes/KXModelGeneralSettings.h"
#include "player/app/KXPAppDelegate.h"
#include "player/app/KXPRunEnd.h"
#include "player/desktop/CaptureObject.h"
#include "player/desktop/EventHandler.h"
#include "player/desktop/KXPBrokenPipe.h"
#include "player/desktop/KXPFileSizeLimit.h"
#include "player/desktop/KXPInputDevices.h"
#include "player/desktop/KXPSteamStandIn.h"
#include "player/desktop/KXPTermination.h"
#include "player/desktop/KXPTerminationGuard.h"
#include "player/desktop/KXPWindowIcon.h"
#include "player/desktop/KXPWindowModes.h"
#include "player/desktop/KXPXErrors.h"
#include "player/store/KXPSettingsController.h"

#include <cstdio>

using namespace cocos2d;

namespace {

const char* const kArchivePath = "data/data.pkg";
const char* const kIconPath = "icon.ico";
// The exit status of a run whose game could not be loaded.
constexpr int kFailedLoadStatus = 2;

void saveProgress() {
    KXPSettingsController::shared()->save();
}

// A load that failed leaves the loading screen up with nothing more to come: the player says why
// once and closes, so that the run ends with the failed-load status instead of standing still.
void endFailedLoad(const KXPAppDelegate& application) {
    CCEGLView* view = CCEGLView::sharedOpenGLView();
    if (!application.hasLoadFailed() || view->windowShouldClose()) {
        return;
    }
    std::fprintf(stderr, "kxplayer: the game could not be loaded: %s\n", application.loadError().c_str());
    view->end();
}

} // namespace

bool loadStartData() {
    KXModelController* models = KXModelController::shared();
    models->clear();
    if (KXModelController::archivePresent(kArchivePath)) {
        models->setArchiveMode(true);
    }
    models->loadInitialData(kArchivePath, kStoredArchivePassword);
    const bool loaded = !models->loadFailed();
    if (!loaded) {
        debugLog("[KXPDesktopEntry] game data: %s", models->lastError().c_str());
    }
    // Each game keeps its progress in a folder of its own.
    CCFileUtils::sharedFileUtils()->setApplicationName(KXModelGeneralSettings::shared()->applicationName());
    KXPSettingsController::shared()->load();
    return loaded;
}

int runDesktopPlayer() {
    KXPAppDelegate application;
    // Never destroyed: its thread may still end the process while the process exits around it.
    static KXPTerminationGuard* const terminationGuard = new KXPTerminationGuard();
    installTerminationHandlers(terminationGuard);
    ignoreFileSizeSignal();
    ignoreBrokenPipeSignal();
    // Before the video starts, so that SDL keeps these handlers as the ones it restores.
    installXErrorHandlers(0, saveProgress);

    // The working folder is the game's: no file it names is read from anywhere else.
    CCFileUtils::sharedFileUtils()->setGameFolder(".");
    loadStartData();
    std::shared_ptr<KXModelGeneralSettings> general = KXModelGeneralSettings::shared();
    KXPSettingsController* settings = KXPSettingsController::shared();

    CCEGLView* view = CCEGLView::sharedOpenGLView();
    view->setViewName(general->applicationName().c_str());
    KXPWindowModes* windowModes = KXPWindowModes::shared();
    windowModes->setWindowMode(settings->isFullscreen(), true);

    printSteamStarted(steamStandInInit());

    windowModes->install();
    setWindowIcon(view->getSDLWindow(), kIconPath);
    installXErrorHandlers(view->getHWnd(), saveProgress);

    // The window is shown by now, which OIS needs for its keyboard grab.
    KXPInputDevices devices;
    devices.create(view->getHWnd(), EventHandler::shared());

    CCScheduler* scheduler = CCDirector::sharedDirector()->getScheduler();
    CaptureObject* capture = new CaptureObject(&devices);
    scheduler->scheduleUpdateForTarget(capture, 0, false);
    // Not a scheduler target: the scheduler stands still while the window is in the background.
    KXPTerminationWatch terminationWatch;
    application.setFrameHook([&terminationWatch, &application] {
        terminationWatch.update(0.0f);
        endFailedLoad(application);
    });

    const int result = application.run();

    // Progress is kept however the loop ended (still refused when loading never finished).
    terminationGuard->noteLoopEnded();
    KXPSettingsController::shared()->save();
    devices.destroy();
    scheduler->unscheduleAllForTarget(capture);
    capture->release();
    application.setFrameHook({});
    const bool loadFailed = application.hasLoadFailed();
    endPlayerRun();
    terminationGuard->noteRunOver();
    return loadFailed ? kFailedLoadStatus : result;
}
