// The player's X error handlers, called as Xlib would call them: errors about the player's own
// window close it like a window manager's close; others are ignored; a lost display saves and
// ends the process with its own status.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include "cocos2d.h"
#include "player/desktop/KXPTermination.h"
#include "player/desktop/KXPXErrors.h"
#include "support/temp_folder.h"

using namespace cocos2d;

namespace {

const uintptr_t kWindow = 0x4a00007;

XErrorEvent errorOn(uintptr_t resource, int code) {
    XErrorEvent event = {};
    event.type = 0;
    event.resourceid = resource;
    event.error_code = static_cast<unsigned char>(code);
    event.request_code = 131;
    return event;
}

// Installs the player's handlers and hands them out (Xlib returns the previous one on a change).
class XErrorHandlers : public ::testing::Test {
protected:
    void SetUp() override {
        CCUserDefault::setXMLFilePath(m_folder.file("UserDefault.xml"));
        m_view = CCEGLView::createHeadless(800, 600);
        CCDirector::sharedDirector()->setOpenGLView(m_view);
        clearXWindowGone();
        installXErrorHandlers(kWindow, saveProgress);
        m_error = XSetErrorHandler(nullptr);
        m_ioError = XSetIOErrorHandler(nullptr);
        installXErrorHandlers(kWindow, saveProgress);
    }
    void TearDown() override {
        XSetErrorHandler(nullptr);
        XSetIOErrorHandler(nullptr);
        clearXWindowGone();
        m_view->setWindowShouldClose(false);
        CCDirector::sharedDirector()->purgeDirector();
        CCUserDefault::setXMLFilePath("");
    }

    bool report(uintptr_t resource, int code) {
        XErrorEvent event = errorOn(resource, code);
        m_error(nullptr, &event);
        return xWindowGone();
    }

    static void saveProgress() {
        CCUserDefault::sharedUserDefault()->setStringForKey("progress", "saved on the way out");
        CCUserDefault::sharedUserDefault()->flush();
    }

    TempFolder m_folder;
    CCEGLView* m_view = nullptr;
    XErrorHandler m_error = nullptr;
    XIOErrorHandler m_ioError = nullptr;
};

} // namespace

TEST_F(XErrorHandlers, TheWindowGoingAwayClosesTheViewOnTheNextFrame) {
    ASSERT_NE(m_error, nullptr);
    // Not about the player's window, or not saying it is gone: ignored.
    EXPECT_FALSE(report(kWindow + 1, BadWindow));
    EXPECT_FALSE(report(0, BadDrawable));
    EXPECT_FALSE(report(kWindow, BadMatch));
    EXPECT_FALSE(report(kWindow, BadValue));
    KXPTerminationWatch watch;
    watch.update(0.0f);
    EXPECT_FALSE(m_view->windowShouldClose());

    EXPECT_TRUE(report(kWindow, BadWindow));
    // More errors follow from every request on the dead window; they change nothing.
    EXPECT_TRUE(report(kWindow, BadDrawable));
    watch.update(0.0f);
    EXPECT_TRUE(m_view->windowShouldClose());
}

TEST_F(XErrorHandlers, ExtensionErrorsOnTheWindowAlsoMeanItIsGone) {
    // The input extension's and GLX's requests on a destroyed window fail with their own codes.
    EXPECT_TRUE(report(kWindow, FirstExtensionError + 2));
    clearXWindowGone();
    EXPECT_TRUE(report(kWindow, BadDrawable));
}

TEST_F(XErrorHandlers, ALostDisplaySavesAndEndsWithItsOwnStatus) {
    ASSERT_NE(m_ioError, nullptr);
    XIOErrorHandler handler = m_ioError;
    EXPECT_EXIT(handler(nullptr), ::testing::ExitedWithCode(kLostDisplayStatus),
                "kxplayer: lost the X display: saving progress and ending");
    CCUserDefault::setXMLFilePath(m_folder.file("UserDefault.xml"));
    EXPECT_EQ(CCUserDefault::sharedUserDefault()->getStringForKey("progress"), "saved on the way out");
}
