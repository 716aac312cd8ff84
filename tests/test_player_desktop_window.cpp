// The desktop window glue on a headless view: window modes and their sizes, window requests
// posted by the platform services and handled from the event queue, resizes, termination
// signals, the Steam line and the icon file check.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <csignal>
#include <cstdint>
#include <string>
#include <vector>

#include "cocos2d.h"
#include "model/KXDebugLog.h"
#include "model/classes/KXModelGeneralSettings.h"
#include "player/base/KXPGameDataLoaded.h"
#include "player/desktop/KXPSteamStandIn.h"
#include "player/desktop/KXPTermination.h"
#include "player/desktop/KXPWindowIcon.h"
#include "player/desktop/KXPWindowModes.h"
#include "player/services/KXPWindowRequests.h"
#include "player/services/KXServices.h"
#include "player/store/KXPSettingsController.h"
#include "support/model_test_models.h"
#include "support/temp_folder.h"

using namespace cocos2d;

namespace {

using Rect = KXPWindowModes::Rect;

Rect rect(int x, int y, int width, int height) {
    Rect r;
    r.x = x;
    r.y = y;
    r.width = width;
    r.height = height;
    return r;
}

class DesktopWindow : public ::testing::Test {
protected:
    void SetUp() override {
        resetModelCore();
        CCUserDefault::setXMLFilePath(m_folder.file("UserDefault.xml"));
        m_view = CCEGLView::createHeadless(800, 600);
        CCDirector::sharedDirector()->setOpenGLView(m_view);
        setOrientation(KXBaseModelGeneralSettings::OrientationLandscape);
        modes()->setDisplayBounds([] { return rect(0, 0, 1920, 1080); });
        modes()->setWindowMode(false, true);
        modes()->install();
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0) << SDL_GetError();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    void TearDown() override {
        SDL_QuitSubSystem(SDL_INIT_EVENTS);
        modes()->setDisplayBounds({});
        m_view->setWndProc(nullptr);
        m_view->setWindowShouldClose(false);
        KXPSettingsController::purgeShared();
        CCDirector::sharedDirector()->purgeDirector();
        CCEGLView::purgeSharedOpenGLView();
        CCUserDefault::setXMLFilePath("");
        resetModelCore();
    }

    static KXPWindowModes* modes() { return KXPWindowModes::shared(); }
    static void setOrientation(int orientation) {
        KXModelGeneralSettings::shared()->orientationAttribute()->setValue(
            static_cast<KXBaseModelGeneralSettings::Orientation>(orientation), true);
    }
    // Everything queued, through the engine's view as its event pump would.
    std::vector<SDL_Event> pumpEvents() {
        std::vector<SDL_Event> events;
        SDL_Event event;
        while (SDL_PollEvent(&event) == 1) {
            events.push_back(event);
            m_view->handleEvent(event);
        }
        return events;
    }
    CCSize frame() const { return m_view->getFrameSize(); }

    TempFolder m_folder;
    CCEGLView* m_view = nullptr;
};

TEST_F(DesktopWindow, AWindowedGameGetsHalfTheDisplay) {
    const Rect landscape = KXPWindowModes::windowedFrame(rect(0, 0, 1920, 1080), 1);
    EXPECT_EQ(landscape.width, 960);
    EXPECT_EQ(landscape.height, 540);
    EXPECT_EQ(landscape.x, 480);
    EXPECT_EQ(landscape.y, 270);
    const Rect portrait = KXPWindowModes::windowedFrame(rect(0, 0, 1920, 1080), 0);
    EXPECT_EQ(portrait.width, 540);
    EXPECT_EQ(portrait.height, 960);
    EXPECT_EQ(portrait.x, 480);
    // A second display to the right, with odd sizes halved toward zero.
    const Rect second = KXPWindowModes::windowedFrame(rect(1920, 0, 1281, 801), 1);
    EXPECT_EQ(second.width, 640);
    EXPECT_EQ(second.height, 400);
    EXPECT_EQ(second.x, 1920 + 640 - 320);
    EXPECT_EQ(second.y, 400 - 200);
    // Any orientation but landscape is portrait.
    EXPECT_EQ(KXPWindowModes::windowedFrame(rect(0, 0, 1920, 1080), 7).width, 540);
}

TEST_F(DesktopWindow, TheCurrentModeAgainChangesNothing) {
    EXPECT_FALSE(modes()->isFullscreen());
    EXPECT_EQ(frame().width, 960.0f);
    EXPECT_EQ(frame().height, 540.0f);
    m_view->setDesignResolutionSize(1136, 640, kResolutionFixedHeight);

    // The user made the window bigger; asking for the mode it is in leaves it so.
    m_view->setFrameSize(1000, 700);
    modes()->setWindowMode(false, false);
    EXPECT_EQ(frame().width, 1000.0f);

    modes()->setWindowMode(true, false);
    EXPECT_TRUE(modes()->isFullscreen());
    EXPECT_EQ(frame().width, 1920.0f);
    EXPECT_EQ(frame().height, 1080.0f);
    // A switch sets the design resolution again under the current policy.
    EXPECT_EQ(m_view->getResolutionPolicy(), kResolutionFixedHeight);
    EXPECT_FLOAT_EQ(m_view->getDesignResolutionSize().height, 640.0f);
    EXPECT_NEAR(m_view->getDesignResolutionSize().width, 1920.0f * 640.0f / 1080.0f, 1.0f);

    // Forced at start-up: applied even in the same mode, the design resolution left alone.
    setOrientation(KXBaseModelGeneralSettings::OrientationPortrait);
    modes()->setWindowMode(false, true);
    modes()->setWindowMode(false, true);
    EXPECT_EQ(frame().width, 540.0f);
    EXPECT_EQ(frame().height, 960.0f);
    EXPECT_FLOAT_EQ(m_view->getDesignResolutionSize().height, 640.0f);
}

TEST_F(DesktopWindow, FullScreenRequestsAreHandledOnTheEventQueue) {
    KXServices::shared()->setFullscreen(true);
    // Nothing happens until the main loop takes the event.
    EXPECT_FALSE(modes()->isFullscreen());
    KXDebugLogCapture log;
    std::vector<SDL_Event> events = pumpEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].type, windowRequestEventType());
    EXPECT_EQ(events[0].user.code, 0x0400);
    EXPECT_NE(events[0].user.data1, nullptr);
    EXPECT_TRUE(modes()->isFullscreen());
    EXPECT_EQ(frame().width, 1920.0f);
    // The preferences are saved first (refused here: the game data never finished loading).
    EXPECT_TRUE(log.contains("[KXPSettingsController] - save while not loaded  = reset - issue prevented"));

    KXServices::shared()->setFullscreen(false);
    events = pumpEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].user.data1, nullptr);
    EXPECT_FALSE(modes()->isFullscreen());
    EXPECT_EQ(frame().width, 960.0f);
    EXPECT_FALSE(m_view->windowShouldClose());
}

TEST_F(DesktopWindow, AnExitRequestEndsTheLoop) {
    testing::internal::CaptureStdout();
    KXServices::shared()->requestExit();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Doing exit...\n");
    EXPECT_FALSE(m_view->windowShouldClose());
    pumpEvents();
    EXPECT_TRUE(m_view->windowShouldClose());
}

TEST_F(DesktopWindow, TheViewFollowsTheWindowSize) {
    m_view->setDesignResolutionSize(1136, 640, kResolutionShowAll);
    SDL_Event event;
    SDL_zero(event);
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_SIZE_CHANGED;
    event.window.data1 = 1136;
    event.window.data2 = 1280;
    m_view->handleEvent(event);
    EXPECT_EQ(frame().width, 1136.0f);
    EXPECT_EQ(frame().height, 1280.0f);
    EXPECT_FLOAT_EQ(m_view->getViewPortRect().size.width, 1136.0f);
    EXPECT_FLOAT_EQ(m_view->getViewPortRect().origin.y, 320.0f);

    // A size that makes no sense is ignored.
    event.window.data1 = -5;
    m_view->handleEvent(event);
    EXPECT_EQ(frame().width, 1136.0f);
}

TEST_F(DesktopWindow, TerminationSignalsCloseTheViewOnTheNextFrame) {
    installTerminationHandlers();
    clearTerminationRequest();
    KXPTerminationWatch watch;
    watch.update(0.0f);
    EXPECT_FALSE(m_view->windowShouldClose());
    std::raise(SIGTERM);
    EXPECT_TRUE(terminationRequested());
    watch.update(0.0f);
    EXPECT_TRUE(m_view->windowShouldClose());
    clearTerminationRequest();
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGINT, SIG_DFL);
}

TEST(DesktopStandIns, TheSteamLineIsPrintedAsItStands) {
    EXPECT_FALSE(steamStandInInit());
    testing::internal::CaptureStdout();
    printSteamStarted(steamStandInInit());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Steam Started: %b0\n");
}

// An icon file with one image whose bitmap header claims the given size.
std::vector<unsigned char> iconBytes(int32_t width, int32_t height, uint32_t imageSize = 40 + 16 * 16 * 4) {
    std::vector<unsigned char> bytes;
    auto put = [&bytes](uint32_t value, int count) {
        for (int i = 0; i < count; ++i) {
            bytes.push_back(static_cast<unsigned char>(value >> (8 * i)));
        }
    };
    put(0, 2);
    put(1, 2);
    put(1, 2);
    put(16, 1);
    put(16, 1);
    put(0, 2);
    put(1, 2);
    put(32, 2);
    put(imageSize, 4);
    put(22, 4);
    put(40, 4);
    put(static_cast<uint32_t>(width), 4);
    put(static_cast<uint32_t>(height), 4);
    bytes.resize(22 + 40 + 16 * 16 * 4, 0);
    return bytes;
}

TEST(DesktopStandIns, IconFilesAreCheckedBeforeDecoding) {
    EXPECT_TRUE(isAcceptableIcon(iconBytes(16, 32)));
    EXPECT_FALSE(isAcceptableIcon(iconBytes(100000, 200000)));
    EXPECT_FALSE(isAcceptableIcon(iconBytes(16, INT32_MIN)));
    EXPECT_FALSE(isAcceptableIcon(iconBytes(16, 32, 1u << 30))); // entry runs past the file
    std::vector<unsigned char> truncated = iconBytes(16, 32);
    truncated.resize(20);
    EXPECT_FALSE(isAcceptableIcon(truncated));
    EXPECT_FALSE(isAcceptableIcon(std::vector<unsigned char>{0, 0, 1, 0, 0, 0}));
    EXPECT_FALSE(setWindowIcon(nullptr, "/no/such/icon.ico"));
}

} // namespace
