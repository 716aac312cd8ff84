#include "player/desktop/KXPDesktopEntry.h"

#include "cocos2d.h"
#include "model/KXDebugLog.h"
#include "model/KXModelController.h"
#include "model/KXSecrets.h"
#include "model/classes/KXModelGeneralSettings.h"
#include "player/app/KXPAppDelegate.h"
#include "player/desktop/CaptureObject.h"
#include "player/desktop/EventHandler.h"
#include "player/desktop/KXPInputDevices.h"
#include "player/desktop/KXPSteamStandIn.h"
#include "player/desktop/KXPTermination.h"
#include "player/desktop/KXPWindowIcon.h"
#include "player/desktop/KXPWindowModes.h"
#include "player/sound/KXSound.h"
#include "player/store/KXPSettingsController.h"

#include <sys/stat.h>

using namespace cocos2d;

namespace {

const char* const kArchivePath = "data/data.pkg";
const char* const kIconPath = "icon.ico";

// Only presence and a non-zero size matter: the archive is opened by the loader.
bool archivePresent() {
    const std::string path = CCFileUtils::sharedFileUtils()->fullPathForFilename(kArchivePath);
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0;
}

} // namespace

bool loadStartData() {
    KXModelController* models = KXModelController::shared();
    models->clear();
    if (archivePresent()) {
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
    installTerminationHandlers();

    KXModelController* models = KXModelController::shared();
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

    // The window is shown by now, which OIS needs for its keyboard grab.
    KXPInputDevices devices;
    devices.create(view->getHWnd(), EventHandler::shared());

    CCScheduler* scheduler = CCDirector::sharedDirector()->getScheduler();
    CaptureObject* capture = new CaptureObject(&devices);
    scheduler->scheduleUpdateForTarget(capture, 0, false);
    KXPTerminationWatch* terminationWatch = new KXPTerminationWatch();
    scheduler->scheduleUpdateForTarget(terminationWatch, 0, false);

    const int result = application.run();

    // Progress is kept however the loop ended (still refused when loading never finished).
    KXPSettingsController::shared()->save();
    devices.destroy();
    // Self-deleting sounds still playing or paused (a pause holds the hero's defeat sound) go now.
    KXSound::stopGroup(KXSound::kEveryGroup, false);
    models->clear();
    // The font descriptions the labels left in the cache.
    CCLabelBMFont::purgeCachedData();
    scheduler->unscheduleAllForTarget(capture);
    capture->release();
    scheduler->unscheduleAllForTarget(terminationWatch);
    terminationWatch->release();
    CCEGLView::purgeSharedOpenGLView();
    return result;
}
