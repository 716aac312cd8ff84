// The platform services' desktop answers, and the application delegate's launch: resolution
// policy, design resolution, the fresh settings controller and the slow-launch measure.
#include <gtest/gtest.h>

#include "cocos2d.h"
#include "model/KXDebugLog.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelGeneralSettings.h"
#include "player/app/KXPAppDelegate.h"
#include "player/base/KXPGameDataLoaded.h"
#include "player/services/KXServices.h"
#include "player/store/KXPScoreTable.h"
#include "player/store/KXPSettingsController.h"
#include "support/model_test_models.h"
#include "support/temp_folder.h"

using namespace cocos2d;

namespace {

class Confirmation : public CCObject {
public:
    void answered(bool yes) { answers.push_back(yes); }
    std::vector<bool> answers;
};

class PlatformServices : public ::testing::Test {
protected:
    void SetUp() override {
        resetModelCore();
        clearScores();
    }
    void TearDown() override {
        KXServices::shared()->setCallback("", nullptr, nullptr);
        clearScores();
        resetModelCore();
    }
};

TEST_F(PlatformServices, AConfirmationIsAnsweredYesAtOnce) {
    Confirmation target;
    KXServices* services = KXServices::shared();
    services->setCallback("Reset everything?", &target, services_selector(Confirmation::answered));
    EXPECT_EQ(target.answers, std::vector<bool>{true});
    services->setCallback("Not enough coins", nullptr, services_selector(Confirmation::answered));
    services->setCallback("Not enough coins", &target, nullptr);
    EXPECT_EQ(target.answers.size(), 1u);
    EXPECT_FALSE(services->isGameServicesAvailable());
    EXPECT_FALSE(services->prefersButtonHighlight());
}

TEST_F(PlatformServices, TheLeaderboardValueFollowsTheScoreType) {
    worldScores("a").distance.session = 10.4f;
    worldScores("b").distance.session = 2.2f;
    worldScores("a").coins.session = 3;
    worldScores("b").points.session = 9;
    worldScores("").distance.best = 99.5f;
    int64_t value = -1;
    ASSERT_TRUE(KXServices::leaderboardValue("Distance", &value));
    EXPECT_EQ(value, 13);
    ASSERT_TRUE(KXServices::leaderboardValue("Coins Collected", &value));
    EXPECT_EQ(value, 3);
    ASSERT_TRUE(KXServices::leaderboardValue("Points Collected", &value));
    EXPECT_EQ(value, 9);
    ASSERT_TRUE(KXServices::leaderboardValue("Global Distance", &value));
    EXPECT_EQ(value, 100);
    worldScores("a").distance.session = 3.0e38f;
    worldScores("b").distance.session = 3.0e38f;
    ASSERT_TRUE(KXServices::leaderboardValue("Distance", &value));
    EXPECT_GT(value, 0);
}

TEST_F(PlatformServices, SubmittingTheGlobalCoinsMakesTheGlobalRecordAndNothingElse) {
    KXModelGeneralSettings::shared()->scoreTypeAttribute()->setValue("Global Coins", true);
    KXServices::shared()->submitScore();
    ASSERT_EQ(scoreTable().size(), 1u);
    EXPECT_EQ(scoreTable().count(""), 1u);
    EXPECT_EQ(worldScores("").coins.total, 0);

    clearScores();
    for (const char* type : {"", "Highest Jump", "distance"}) {
        KXModelGeneralSettings::shared()->scoreTypeAttribute()->setValue(type, true);
        KXServices::shared()->submitScore();
        EXPECT_TRUE(scoreTable().empty()) << type;
    }
}

TEST(AppDelegateScreen, TheAutomaticPolicyGoesByTheAspectRatio) {
    // Landscape 1920 x 1080: 1.777... is not below 1.77.
    EXPECT_EQ(KXPAppDelegate::resolutionPolicy(3, 1, CCSize(1920, 1080)), kResolutionFixedHeight);
    EXPECT_EQ(KXPAppDelegate::resolutionPolicy(3, 1, CCSize(1600, 1200)), kResolutionFixedWidth);
    EXPECT_EQ(KXPAppDelegate::resolutionPolicy(3, 0, CCSize(1080, 1920)), kResolutionFixedWidth);
    EXPECT_EQ(KXPAppDelegate::resolutionPolicy(3, 0, CCSize(1200, 1600)), kResolutionFixedHeight);
    EXPECT_EQ(KXPAppDelegate::resolutionPolicy(0, 1, CCSize(1, 1)), kResolutionNoBorder);
    EXPECT_EQ(KXPAppDelegate::resolutionPolicy(1, 0, CCSize(1, 1)), kResolutionFixedHeight);
    EXPECT_EQ(KXPAppDelegate::resolutionPolicy(2, 1, CCSize(1, 1)), kResolutionFixedWidth);
    EXPECT_EQ(KXPAppDelegate::resolutionPolicy(4, 1, CCSize(1, 1)), kResolutionUnKnown);
    EXPECT_EQ(KXPAppDelegate::resolutionPolicy(-1, 1, CCSize(1, 1)), kResolutionUnKnown);
}

TEST(AppDelegateScreen, OnlyALaunchSlowerThanFourTenthsOfASecondIsSlow) {
    EXPECT_FALSE(KXPAppDelegate::isSlowLaunch(0.39f));
    // The float nearest to 0.4 lies just above the double 0.4.
    EXPECT_TRUE(KXPAppDelegate::isSlowLaunch(0.4f));
    EXPECT_TRUE(KXPAppDelegate::isSlowLaunch(0.41f));
}

class AppDelegateLaunch : public ::testing::Test {
protected:
    void SetUp() override {
        resetModelCore();
        CCUserDefault::setXMLFilePath(m_folder.file("UserDefault.xml"));
        m_view = CCEGLView::createHeadless(1920, 1080);
        CCDirector::sharedDirector()->setOpenGLView(m_view);
        m_view->setDesignResolutionSize(1920, 1080, kResolutionExactFit);
    }
    void TearDown() override {
        KXPSettingsController::purgeShared();
        CCDirector::sharedDirector()->purgeDirector();
        CCEGLView::purgeSharedOpenGLView();
        CCUserDefault::setXMLFilePath("");
        resetModelCore();
    }
    static void setOrientation(int orientation) {
        KXModelGeneralSettings::shared()->orientationAttribute()->setValue(
            static_cast<KXBaseModelGeneralSettings::Orientation>(orientation), true);
    }

    TempFolder m_folder;
    CCEGLView* m_view = nullptr;
};

TEST_F(AppDelegateLaunch, ScreenSetUpNeedsGeneralSettingsAndAKnownOrientation) {
    KXPAppDelegate delegate;
    delegate.setUpScreen();
    EXPECT_EQ(m_view->getResolutionPolicy(), kResolutionExactFit);

    setOrientation(5);
    KXModelGeneralSettings::shared()->screenAdjustmentAttribute()->setValue(
        KXBaseModelGeneralSettings::ScreenAdjustmentFixedWidth, true);
    delegate.setUpScreen();
    EXPECT_EQ(m_view->getResolutionPolicy(), kResolutionExactFit);

    setOrientation(0);
    delegate.setUpScreen();
    EXPECT_EQ(m_view->getResolutionPolicy(), kResolutionFixedWidth);
    EXPECT_FLOAT_EQ(m_view->getDesignResolutionSize().width, 640.0f);
}

TEST_F(AppDelegateLaunch, LaunchStartsAFreshSettingsControllerAndAScene) {
    setOrientation(1);
    KXModelGeneralSettings::shared()->screenAdjustmentAttribute()->setValue(
        KXBaseModelGeneralSettings::ScreenAdjustmentAutomatic, true);
    KXPSettingsController::shared()->setFullscreen(true);
    KXPAppDelegate delegate;
    KXDebugLogCapture log;
    EXPECT_EQ(delegate.runFrames(2), 2);
    EXPECT_FALSE(KXPSettingsController::shared()->isFullscreen());
    EXPECT_FALSE(KXPSettingsController::shared()->isSlowLoading());
    EXPECT_NE(CCDirector::sharedDirector()->getRunningScene(), nullptr);
    EXPECT_EQ(m_view->getResolutionPolicy(), kResolutionFixedHeight);
    EXPECT_FLOAT_EQ(m_view->getDesignResolutionSize().height, 640.0f);
    EXPECT_TRUE(log.contains("[KXPAppDelegate] game loading: start"));
    EXPECT_TRUE(log.contains("[KXPAppDelegate] device orientation: 1"));

    // To the background: saved (refused before loading ends) and stopped; back: running.
    log.clear();
    delegate.applicationDidEnterBackground();
    EXPECT_TRUE(log.contains("[KXPSettingsController] - save while not loaded  = reset - issue prevented"));
    EXPECT_FALSE(CCDirector::sharedDirector()->isAnimating());
    delegate.applicationWillEnterForeground();
    EXPECT_TRUE(CCDirector::sharedDirector()->isAnimating());
    EXPECT_TRUE(log.contains("[KXPSettingsController] - load complete"));
}

} // namespace
