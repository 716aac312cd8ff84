#include "tools/kxsim/kxsim_run.h"

#include <pugixml.hpp>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>

#include "cocos2d.h"
#include "model/KXModelController.h"
#include "player/app/KXPAppDelegate.h"
#include "player/app/KXPRunEnd.h"
#include "player/base/KXPClock.h"
#include "player/base/KXPTrace.h"
#include "player/desktop/EventHandler.h"
#include "player/desktop/KXPDesktopEntry.h"
#include "player/store/KXPSettingsController.h"
#include "tools/kxsim/kxsim_keys.h"

using namespace cocos2d;

namespace {

constexpr float kFrameSeconds = 1.0f / 60.0f;
// The window of the simulation: the player's windowed size on a 1920 x 1080 display (and within
// what the offscreen driver's surface can show).
constexpr float kViewWidth = 960.0f;
constexpr float kViewHeight = 540.0f;
// The simulated clock starts at a fixed moment (2026-01-01), so that timers repeat exactly.
constexpr int64_t kEpochSeconds = 1767225600;

// Design coordinates (y up) to the window pixels (y down) a mouse would report.
CCPoint windowPixel(float x, float y) {
    CCEGLView* view = CCEGLView::sharedOpenGLView();
    const CCPoint ui = CCDirector::sharedDirector()->convertToUI(CCPoint(x, y));
    const CCRect& port = view->getViewPortRect();
    return CCPoint(ui.x * view->getScaleX() + port.origin.x, ui.y * view->getScaleY() + port.origin.y);
}

void applyTouch(const SimTouch& touch) {
    CCEGLView* view = CCEGLView::sharedOpenGLView();
    const CCPoint pixel = windowPixel(touch.x, touch.y);
    int id = 0;
    float x = pixel.x;
    float y = pixel.y;
    if (touch.phase == 0) {
        view->handleTouchesBegin(1, &id, &x, &y);
    } else if (touch.phase == 1) {
        view->handleTouchesMove(1, &id, &x, &y);
    } else {
        view->handleTouchesEnd(1, &id, &x, &y);
    }
}

void applyKey(const SimKey& key) {
    OIS::KeyCode code = OIS::KC_UNASSIGNED;
    if (!oisKeyForName(key.name, &code)) {
        return;
    }
    const OIS::KeyEvent event(nullptr, code, keyText(key.name));
    if (key.down) {
        EventHandler::shared()->keyPressed(event);
    } else {
        EventHandler::shared()->keyReleased(event);
    }
}

void makeView(bool screenshots) {
    if (screenshots) {
        // Drawing for real is only needed for pictures.
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        CCEGLView* view = CCEGLView::sharedOpenGLView();
        if (view->getBackend() == CCEGLView::kBackendHeadless) {
            std::fprintf(stderr, "kxsim: no offscreen GL here; screenshots are not taken\n");
        }
        view->setFrameSize(kViewWidth, kViewHeight);
    } else {
        CCEGLView::createHeadless(kViewWidth, kViewHeight);
    }
    // Frames walk the scene graph even without GL: the loading screen loads from its draw.
    CCEGLView::sharedOpenGLView()->setRenderingEnabled(true);
}

// Nothing when no store was written (no folder for it, or something else in its place).
void dumpStore() {
    const std::string& path = CCUserDefault::getXMLFilePath();
    struct stat info;
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return;
    }
    pugi::xml_document document;
    if (!document.load_file(path.c_str())) {
        return;
    }
    for (const pugi::xml_node& entry : document.document_element().children("entry")) {
        std::printf("%s=%s\n", entry.attribute("key").value(), entry.attribute("value").value());
    }
}

} // namespace

SimRun::SimRun(const SimOptions& options) : m_options(options) {
    // Sound goes nowhere unless the caller chose a driver.
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    kxTraceEnableKinds(options.traceKinds);
    makeView(!options.screenshots.empty());

    // The working folder is the game's, as in the player: no file it names is read from elsewhere.
    CCFileUtils::sharedFileUtils()->setGameFolder(".");
    m_startData = loadStartData();
    KXPClock::replace(
        [this] { return static_cast<double>(kEpochSeconds) + static_cast<double>(m_frame) * kFrameSeconds; });

    m_application = std::make_unique<KXPAppDelegate>();
    m_application->setRandomSeed(options.seed);
    m_application->setFirstScreenKey(options.openKey);
    CCDirector::sharedDirector()->setFixedDeltaTime(kFrameSeconds);
}

SimRun::~SimRun() {
    CCDirector::sharedDirector()->purgeDirector();
    endPlayerRun();
    m_application.reset();
    KXPClock::replace(nullptr);
}

void SimRun::applyInput() const {
    for (const SimTouch& touch : m_options.touches) {
        if (touch.frame == m_frame) {
            applyTouch(touch);
        }
    }
    for (const SimKey& key : m_options.keys) {
        if (key.frame == m_frame) {
            applyKey(key);
        }
    }
    for (const SimScreenshot& shot : m_options.screenshots) {
        if (shot.frame == m_frame) {
            CCEGLView::sharedOpenGLView()->captureNextFrame(shot.path);
        }
    }
}

void SimRun::play(const SimFrameHooks& hooks) {
    while (step(hooks)) {
    }
    finish();
}

bool SimRun::step(const SimFrameHooks& hooks) {
    if (m_stopped) {
        return false;
    }
    // Past the last frame the clock stands one frame on while the run is taken down.
    if (++m_frame > m_options.frames) {
        m_stopped = true;
        return false;
    }
    kxTraceSetFrame(m_frame);
    applyInput();
    if (hooks.before) {
        hooks.before(m_frame);
    }
    const int ran = m_application->runFrames(1);
    if (hooks.after) {
        hooks.after(m_frame);
    }
    m_stopped = ran < 1;
    return !m_stopped;
}

void SimRun::finish() {
    // As the player does when its loop ends.
    KXPSettingsController::shared()->save();
    m_loadFailed = !m_startData || m_application->hasLoadFailed();
    m_loadError = m_application->loadError();
    if (m_loadError.empty()) {
        m_loadError = KXModelController::shared()->lastError();
    }
    if (m_loadFailed && m_loadError.empty()) {
        m_loadError = "the game could not be loaded";
    }
}

int runSimulation(const SimOptions& options) {
    bool failed = false;
    std::string error;
    {
        SimRun run(options);
        run.play();
        if (options.dumpStore) {
            dumpStore();
        }
        failed = run.loadFailed();
        error = run.loadError();
    }
    if (failed) {
        std::fprintf(stderr, "error: %s\n", error.c_str());
        return 2;
    }
    return 0;
}
