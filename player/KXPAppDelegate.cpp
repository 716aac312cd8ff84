#include "player/KXPAppDelegate.h"

#include "model/KXDebugLog.h"
#include "model/KXModelController.h"
#include "model/classes/KXModelGeneralSettings.h"
#include "player/KXPSettingsController.h"

#include "AudioEngine.h"
#include "SimpleAudioEngine.h"

#include <cstdlib>
#include <ctime>
#include <sys/time.h>

using namespace cocos2d;

namespace {

constexpr float kLandscapeWidth = 1136.0f;
constexpr float kLandscapeHeight = 640.0f;
constexpr double kAutomaticRatio = 1.77;

} // namespace

bool KXPAppDelegate::applicationDidFinishLaunching() {
    debugLog("[KXPAppDelegate] game loading: start");
    std::srand(static_cast<unsigned int>(std::time(nullptr)));
    CCDirector* director = CCDirector::sharedDirector();
    director->setOpenGLView(CCEGLView::sharedOpenGLView());
    // A fresh controller is made and loaded again once every model file is in.
    KXPSettingsController::purgeShared();
    setUpScreen();

    timeval before;
    timeval after;
    gettimeofday(&before, nullptr);
    // The screens controller's first scene (the loading screen) comes with the staged loading;
    // until then the loop runs an empty scene.
    director->runWithScene(CCScene::create());
    gettimeofday(&after, nullptr);
    const float seconds = static_cast<float>(after.tv_usec - before.tv_usec) / 1000000.0f +
                          static_cast<float>(after.tv_sec - before.tv_sec);
    debugLog("[KXPAppDelegate] loading time: %f", seconds);
    KXPSettingsController::shared()->setSlowLoading(isSlowLaunch(seconds));
    return true;
}

void KXPAppDelegate::setUpScreen() {
    if (KXModelController::shared()->getModelsByType(KXModelGeneralSettings::staticType()).empty()) {
        return;
    }
    std::shared_ptr<KXModelGeneralSettings> settings = KXModelGeneralSettings::shared();
    const int orientation = settings->orientation();
    const int adjustment = settings->screenAdjustment();
    const CCSize windowSize = CCDirector::sharedDirector()->getWinSize();
    debugLog("[KXPAppDelegate] device orientation: %d", orientation);
    debugLog("[KXPAppDelegate] screen adjustment: %d", adjustment);
    debugLog("[KXPAppDelegate] screen size: %f %f", windowSize.width, windowSize.height);
    const ResolutionPolicy policy = resolutionPolicy(adjustment, orientation, windowSize);
    CCEGLView* view = CCEGLView::sharedOpenGLView();
    if (orientation == KXModelGeneralSettings::OrientationLandscape) {
        view->setDesignResolutionSize(kLandscapeWidth, kLandscapeHeight, policy);
    } else if (orientation == KXModelGeneralSettings::OrientationPortrait) {
        view->setDesignResolutionSize(kLandscapeHeight, kLandscapeWidth, policy);
    }
}

ResolutionPolicy KXPAppDelegate::resolutionPolicy(int screenAdjustment, int orientation,
                                                  const CCSize& windowSize) {
    switch (screenAdjustment) {
    case KXModelGeneralSettings::ScreenAdjustmentNoBorder:
        return kResolutionNoBorder;
    case KXModelGeneralSettings::ScreenAdjustmentFixedHeight:
        return kResolutionFixedHeight;
    case KXModelGeneralSettings::ScreenAdjustmentFixedWidth:
        return kResolutionFixedWidth;
    case KXModelGeneralSettings::ScreenAdjustmentAutomatic:
        break;
    default:
        return kResolutionUnKnown;
    }
    if (orientation == KXModelGeneralSettings::OrientationPortrait) {
        const float ratio = windowSize.height / windowSize.width;
        return ratio >= kAutomaticRatio ? kResolutionFixedWidth : kResolutionFixedHeight;
    }
    const float ratio = windowSize.width / windowSize.height;
    return ratio < kAutomaticRatio ? kResolutionFixedWidth : kResolutionFixedHeight;
}

void KXPAppDelegate::applicationDidEnterBackground() {
    // Pausing a running game scene comes with the screens.
    KXPSettingsController::shared()->save();
    CCDirector::sharedDirector()->stopAnimation();
    CocosDenshion::SimpleAudioEngine::sharedEngine()->pauseBackgroundMusic();
    experimental::AudioEngine::pauseAll();
}

void KXPAppDelegate::applicationWillEnterForeground() {
    KXPSettingsController* settings = KXPSettingsController::shared();
    settings->load();
    CCDirector::sharedDirector()->startAnimation();
    if (!settings->muteEffects) {
        experimental::AudioEngine::resumeAll();
    }
    if (!settings->muteBackground) {
        CocosDenshion::SimpleAudioEngine::sharedEngine()->resumeBackgroundMusic();
    }
}
