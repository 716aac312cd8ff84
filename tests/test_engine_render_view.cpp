// The offscreen window view: each resolution policy's view port (in GL) and visible size on a
// few frame sizes, the mouse as touch in design coordinates, the back/menu keys, the window
// message hook, minimise/restore callbacks and the application's frame loop.
#include "support/render_test_support.h"

using namespace cocos2d;

namespace {

struct PolicyCase {
    float frameW, frameH;
    ResolutionPolicy policy;
    CCRect viewPort;
    CCSize design;
    CCSize visible;
    CCPoint visibleOrigin;
};

// Design size 100 x 100 on a wide and a tall frame, worked out by hand.
const PolicyCase kCases[] = {
    {200, 100, kResolutionExactFit, CCRect(0, 0, 200, 100), CCSize(100, 100), CCSize(100, 100),
     CCPoint(0, 0)},
    {200, 100, kResolutionNoBorder, CCRect(0, -50, 200, 200), CCSize(100, 100), CCSize(100, 50),
     CCPoint(0, 25)},
    {200, 100, kResolutionShowAll, CCRect(50, 0, 100, 100), CCSize(100, 100), CCSize(100, 100),
     CCPoint(0, 0)},
    {200, 100, kResolutionFixedHeight, CCRect(0, 0, 200, 100), CCSize(200, 100), CCSize(200, 100),
     CCPoint(0, 0)},
    {200, 100, kResolutionFixedWidth, CCRect(0, 0, 200, 100), CCSize(100, 50), CCSize(100, 50),
     CCPoint(0, 0)},
    {100, 200, kResolutionExactFit, CCRect(0, 0, 100, 200), CCSize(100, 100), CCSize(100, 100),
     CCPoint(0, 0)},
    {100, 200, kResolutionNoBorder, CCRect(-50, 0, 200, 200), CCSize(100, 100), CCSize(50, 100),
     CCPoint(25, 0)},
    {100, 200, kResolutionShowAll, CCRect(0, 50, 100, 100), CCSize(100, 100), CCSize(100, 100),
     CCPoint(0, 0)},
    {100, 200, kResolutionFixedHeight, CCRect(0, 0, 100, 200), CCSize(50, 100), CCSize(50, 100),
     CCPoint(0, 0)},
    {100, 200, kResolutionFixedWidth, CCRect(0, 0, 100, 200), CCSize(100, 200), CCSize(100, 200),
     CCPoint(0, 0)},
    {150, 100, kResolutionShowAll, CCRect(25, 0, 100, 100), CCSize(100, 100), CCSize(100, 100),
     CCPoint(0, 0)},
};

class ViewTest : public kxtest::RenderTest {
protected:
    void TearDown() override {
        if (view) {
            view->setWindowShouldClose(false);
            view->setWndProc(nullptr);
            view->setMessageTranslator(nullptr);
        }
        kxtest::RenderTest::TearDown();
    }
    SDL_Event windowEvent(Uint8 kind) const {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.event = kind;
        event.window.windowID = SDL_GetWindowID(view->getSDLWindow());
        return event;
    }
    static SDL_Event mouse(Uint32 type, int x, int y, Uint8 button = SDL_BUTTON_LEFT) {
        SDL_Event event{};
        event.type = type;
        if (type == SDL_MOUSEMOTION) {
            event.motion.x = x;
            event.motion.y = y;
        } else {
            event.button.button = button;
            event.button.x = x;
            event.button.y = y;
        }
        return event;
    }
    static SDL_Event key(SDL_Keycode sym, Uint16 mod, SDL_Scancode scancode = SDL_SCANCODE_UNKNOWN) {
        SDL_Event event{};
        event.type = SDL_KEYDOWN;
        event.key.keysym.sym = sym;
        event.key.keysym.mod = mod;
        event.key.keysym.scancode = scancode;
        return event;
    }
};

struct TouchRecorder : public CCTouchDelegate {
    std::vector<std::string> log;
    bool ccTouchBegan(CCTouch* touch, CCEvent*) override {
        record("began", touch);
        return true;
    }
    void ccTouchMoved(CCTouch* touch, CCEvent*) override { record("moved", touch); }
    void ccTouchEnded(CCTouch* touch, CCEvent*) override { record("ended", touch); }
    void record(const char* phase, CCTouch* touch) {
        const CCPoint p = touch->getLocation();
        log.push_back(std::string(phase) + " " + std::to_string(static_cast<int>(std::lround(p.x))) + "," +
                      std::to_string(static_cast<int>(std::lround(p.y))) + " id " +
                      std::to_string(touch->getID()));
    }
};

struct KeyRecorder : public CCKeypadDelegate {
    std::vector<std::string> log;
    void keyBackClicked() override { log.push_back("back"); }
    void keyMenuClicked() override { log.push_back("menu"); }
    void onKeyDown(int code) override { log.push_back("down " + std::to_string(code)); }
};

int g_hookCalls = 0;
bool g_hookHandles = false;
int recordingHook(unsigned int msg, uintptr_t, intptr_t, bool* handled) {
    EXPECT_EQ(msg, 0x10u);
    ++g_hookCalls;
    *handled = g_hookHandles;
    return 0;
}

class CountingNode : public CCNode {
public:
    int draws = 0;
    void draw() override { ++draws; }
};

class TestApplication : public CCApplication {
public:
    int launched = 0;
    int background = 0;
    int foreground = 0;
    CountingNode* node = nullptr;
    bool applicationDidFinishLaunching() override {
        ++launched;
        CCScene* scene = CCScene::create();
        node = new CountingNode();
        scene->addChild(node);
        node->release();
        CCDirector::sharedDirector()->runWithScene(scene);
        return true;
    }
    void applicationDidEnterBackground() override { ++background; }
    void applicationWillEnterForeground() override { ++foreground; }
};

} // namespace

TEST_F(ViewTest, PoliciesGiveTheViewPortAndVisibleArea) {
    for (const PolicyCase& c : kCases) {
        SCOPED_TRACE(testing::Message() << c.frameW << "x" << c.frameH << " policy " << c.policy);
        view->setFrameSize(c.frameW, c.frameH);
        view->setDesignResolutionSize(100, 100, c.policy);
        EXPECT_EQ(view->getViewPortRect(), c.viewPort);
        EXPECT_EQ(view->getDesignResolutionSize(), c.design);
        EXPECT_EQ(CCDirector::sharedDirector()->getWinSize(), c.design);
        EXPECT_EQ(view->getVisibleSize(), c.visible);
        EXPECT_EQ(view->getVisibleOrigin(), c.visibleOrigin);
        view->beginFrame();
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[0], static_cast<GLint>(c.viewPort.origin.x));
        EXPECT_EQ(viewport[1], static_cast<GLint>(c.viewPort.origin.y));
        EXPECT_EQ(viewport[2], static_cast<GLint>(c.viewPort.size.width));
        EXPECT_EQ(viewport[3], static_cast<GLint>(c.viewPort.size.height));
    }
}

TEST_F(ViewTest, ShowAllLetterboxesTheDesignArea) {
    view->setFrameSize(200, 100);
    view->setDesignResolutionSize(100, 100, kResolutionShowAll);
    const unsigned char white[4] = {255, 255, 255, 255};
    CCTexture2D* texture = new CCTexture2D();
    ASSERT_TRUE(texture->initWithData(white, kCCTexture2DPixelFormat_RGB5A1, 1, 1, CCSize(1, 1)));
    CCSprite* cover = CCSprite::createWithTexture(texture);
    texture->release();
    cover->setTextureRect(CCRect(0, 0, 100, 100));
    cover->setAnchorPoint(CCPointZero);
    render({cover});
    EXPECT_PIXEL(pixel(49, 50), 0, 0, 0);
    EXPECT_PIXEL(pixel(50, 50), 255, 255, 255);
    EXPECT_PIXEL(pixel(149, 99), 255, 255, 255);
    EXPECT_PIXEL(pixel(150, 50), 0, 0, 0);
}

TEST_F(ViewTest, LeftMouseButtonIsTouchZeroInSceneCoordinates) {
    view->setFrameSize(200, 100);
    view->setDesignResolutionSize(100, 100, kResolutionShowAll);
    TouchRecorder recorder;
    CCTouchDispatcher* touches = CCDirector::sharedDirector()->getTouchDispatcher();
    touches->addTargetedDelegate(&recorder, 0, true);
    view->handleEvent(mouse(SDL_MOUSEMOTION, 120, 40)); // no button held: nothing
    view->handleEvent(mouse(SDL_MOUSEBUTTONDOWN, 150, 40, SDL_BUTTON_RIGHT));
    view->handleEvent(mouse(SDL_MOUSEBUTTONDOWN, 150, 25)); // view (100, 25): scene (100, 75)
    view->handleEvent(mouse(SDL_MOUSEMOTION, 100, 50));     // scene (50, 50)
    view->handleEvent(mouse(SDL_MOUSEBUTTONUP, 60, 90));    // scene (10, 10)
    view->handleEvent(mouse(SDL_MOUSEBUTTONUP, 60, 90));    // a second release is ignored
    touches->removeDelegate(&recorder);
    EXPECT_EQ(recorder.log,
              (std::vector<std::string>{"began 100,75 id 0", "moved 50,50 id 0", "ended 10,10 id 0"}));
}

TEST_F(ViewTest, OnlyBackAndMenuKeysReachTheKeypad) {
    KeyRecorder recorder;
    CCKeypadDispatcher* keypad = CCDirector::sharedDirector()->getKeypadDispatcher();
    keypad->addDelegate(&recorder);
    view->handleEvent(key(SDLK_F1, KMOD_LSHIFT));
    view->handleEvent(key(SDLK_F2, KMOD_RSHIFT));
    view->handleEvent(key(SDLK_AC_BACK, KMOD_NONE, SDL_SCANCODE_AC_BACK));
    view->handleEvent(key(SDLK_F1, KMOD_NONE));
    view->handleEvent(key(SDLK_UP, KMOD_NONE));
    view->handleEvent(key(SDLK_RETURN, KMOD_NONE));
    keypad->removeDelegate(&recorder);
    EXPECT_EQ(recorder.log, (std::vector<std::string>{"back", "menu", "back"}));
}

TEST_F(ViewTest, HookSeesMessagesFirstAndCanSwallowThem) {
    g_hookCalls = 0;
    view->setWndProc(recordingHook);
    view->setMessageTranslator([](const SDL_Event& event, unsigned int* msg, uintptr_t*, intptr_t*) {
        if (event.type != SDL_QUIT)
            return false;
        *msg = 0x10;
        return true;
    });
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    g_hookHandles = true;
    view->handleEvent(quit);
    EXPECT_EQ(g_hookCalls, 1);
    EXPECT_FALSE(view->windowShouldClose());
    view->handleEvent(mouse(SDL_MOUSEMOTION, 1, 1)); // not translated: the hook is not called
    EXPECT_EQ(g_hookCalls, 1);
    g_hookHandles = false;
    view->handleEvent(quit);
    EXPECT_EQ(g_hookCalls, 2);
    EXPECT_TRUE(view->windowShouldClose());
}

TEST_F(ViewTest, ApplicationRunsFramesAndHearsMinimiseAndRestore) {
    CCDirector::sharedDirector()->purgeDirector();
    CCDirector::sharedDirector()->setOpenGLView(view);
    TestApplication app;
    EXPECT_EQ(CCApplication::sharedApplication(), &app);
    EXPECT_EQ(app.runFrames(3), 3);
    EXPECT_EQ(app.launched, 1);
    ASSERT_NE(app.node, nullptr);
    EXPECT_EQ(app.node->draws, 3); // the scene switch comes before the draw in every frame
    EXPECT_EQ(app.runFrames(2), 2);
    EXPECT_EQ(app.launched, 1);
    EXPECT_EQ(app.node->draws, 5);

    view->handleEvent(windowEvent(SDL_WINDOWEVENT_MINIMIZED));
    view->handleEvent(windowEvent(SDL_WINDOWEVENT_MINIMIZED));
    EXPECT_EQ(app.background, 1);
    view->handleEvent(windowEvent(SDL_WINDOWEVENT_RESTORED));
    EXPECT_EQ(app.foreground, 1);
    view->handleEvent(windowEvent(SDL_WINDOWEVENT_RESTORED)); // not minimised: nothing
    EXPECT_EQ(app.foreground, 1);

    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    EXPECT_EQ(app.runFrames(5), 1);
    EXPECT_TRUE(view->windowShouldClose());
    CCDirector::sharedDirector()->purgeDirector();
}

TEST_F(ViewTest, OffscreenViewHasNoNativeWindowAndSetsTheTitle) {
    EXPECT_EQ(view->getBackend(), CCEGLView::kBackendOffscreen);
    EXPECT_EQ(view->getHWnd(), 0u);
    view->setViewName("Game Title");
    EXPECT_STREQ(SDL_GetWindowTitle(view->getSDLWindow()), "Game Title");
    view->setFrameSize(-5, 1e9f); // ignored
    view->setFrameSize(120, 80);
    EXPECT_EQ(view->getFrameSize(), CCSize(120, 80));
}

TEST_F(ViewTest, ScreenshotWritesThePngOfTheFrame) {
    CCSprite* sprite = CCSprite::create(solidPng("red.png", 10, 10, {255, 0, 0, 255}).c_str());
    ASSERT_NE(sprite, nullptr);
    sprite->setAnchorPoint(CCPointZero); // lower-left corner
    render({sprite});
    const std::string shot = folder.file("shot.png");
    ASSERT_TRUE(ccSaveScreenshot(shot));
    SDL_Surface* loaded = IMG_Load(shot.c_str());
    ASSERT_NE(loaded, nullptr);
    SDL_Surface* rgba = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(loaded);
    ASSERT_NE(rgba, nullptr);
    EXPECT_EQ(rgba->w, kWidth);
    EXPECT_EQ(rgba->h, kHeight);
    const unsigned char* bottomLeft = static_cast<unsigned char*>(rgba->pixels) + rgba->pitch * (kHeight - 1);
    const unsigned char* topLeft = static_cast<unsigned char*>(rgba->pixels);
    EXPECT_EQ(bottomLeft[0], 255);
    EXPECT_EQ(topLeft[0], 0);
    SDL_FreeSurface(rgba);
}

TEST_F(ViewTest, TheFrameHookRunsAndCanEndTheLoopWhileTheDirectorStandsStill) {
    CCDirector::sharedDirector()->purgeDirector();
    CCDirector::sharedDirector()->setOpenGLView(view);
    TestApplication app;
    int hooks = 0;
    app.setFrameHook([&] {
        if (++hooks == 4)
            view->end();
    });
    EXPECT_EQ(app.runFrames(2), 2);
    // As in the background: nothing is drawn and the scheduler stands still.
    CCDirector::sharedDirector()->stopAnimation();
    const int draws = app.node->draws;
    EXPECT_EQ(app.runFrames(5), 2);
    EXPECT_EQ(hooks, 4);
    EXPECT_EQ(app.node->draws, draws);
    EXPECT_TRUE(view->windowShouldClose());
    app.setFrameHook({});
    CCDirector::sharedDirector()->startAnimation();
    CCDirector::sharedDirector()->purgeDirector();
}
