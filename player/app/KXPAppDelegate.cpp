#include "player/app/KXPAppDelegate.h"

#include "model/KXBaseAttribute.h"
#include "model/KXDebugLog.h"
#include "model/KXModelController.h"
#include "model/KXSecrets.h"
#include "model/classes/KXModelAtlas.h"
#include "model/classes/KXModelComponentHealth.h"
#include "model/classes/KXModelFont.h"
#include "model/classes/KXModelGeneralSettings.h"
#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelObjectButton.h"
#include "model/classes/KXModelQueries.h"
#include "model/classes/KXModelScreen.h"
#include "model/classes/KXModelScreenScene.h"
#include "model/classes/KXNodeScene.h"
#include "model/classes/KXNodeUIStart.h"
#include "player/ads/KXAdController.h"
#include "player/app/KXPScreensController.h"
#include "player/base/KXPClock.h"
#include "player/base/KXPGameDataLoaded.h"
#include "player/base/KXPGameField.h"
#include "player/base/KXPTrace.h"
#include "player/screens/KXPScreen.h"
#include "player/screens/KXPScreenPurchases.h"
#include "player/screens/KXPScreenUi.h"
#include "player/services/KXServices.h"
#include "player/store/KXPSettingsController.h"

#include "AudioEngine.h"
#include "SimpleAudioEngine.h"

#include <cstdlib>
#include <ctime>

using namespace cocos2d;

namespace {

constexpr float kLandscapeWidth = 1136.0f;
constexpr float kLandscapeHeight = 640.0f;
constexpr double kAutomaticRatio = 1.77;
constexpr const char* kStartLeadsNowhere = "the start node leads to no screen";

std::string modelLabel(const KXModel& model) {
    return "model " + std::to_string(model.id()) + " (" + model.className() + ")";
}

// What the loaded screen graph lacks when the start leads nowhere although every file read, found
// the way the screens controller follows it: the UI node holding the start screen, its "Load" link,
// the node that link leads to, that node's screen.
std::string whatTheStartLacks() {
    const std::string startKey = KXPScreensController::kStartScreenKey;
    std::shared_ptr<KXNodeUI> start;
    for (const std::shared_ptr<KXNodeUI>& node : getModelsOfKind<KXNodeUI>()) {
        const std::shared_ptr<KXModelScreen> screen = node->screen();
        if (screen && screen->key() == startKey) {
            start = node;
            break;
        }
    }
    if (!start) {
        const std::vector<std::shared_ptr<KXNodeUIStart>> starts = getModels<KXNodeUIStart>();
        if (starts.empty()) {
            return "no start node was loaded";
        }
        const std::shared_ptr<KXModelScreen> screen = starts.front()->screen();
        if (!screen) {
            return "the start node, " + modelLabel(*starts.front()) + ", holds no screen";
        }
        return "the start node's screen, " + modelLabel(*screen) + ", has another key than " + startKey;
    }
    const std::string node = modelLabel(*start);
    const KXBaseAttribute* port = start->attribute(KXPScreensController::kLoadPort);
    const std::shared_ptr<KXBaseNode> next = start->nodeLinkedFrom(port);
    if (!next) {
        const KXBaseAttribute* input =
            port != nullptr && port->connectionKind() == KXAttributeConnectionOutput ? port->connection()
                                                                                     : nullptr;
        if (input == nullptr || input->owner() == nullptr) {
            return "the start node, " + node + ", has no \"Load\" link";
        }
        return "the \"Load\" link of the start node, " + node + ", leads to " + modelLabel(*input->owner()) +
               ", which is not a node";
    }
    const std::string link =
        "the \"Load\" link of the start node, " + node + ", leads to " + modelLabel(*next);
    if (next->typeId() != KXNodeScene::staticType() && next->typeId() != KXNodeUI::staticType()) {
        return link + ", which is neither a scene node nor a UI node";
    }
    if (!next->screen()) {
        return link + ", which holds no screen";
    }
    return std::string();
}

} // namespace

bool KXPAppDelegate::applicationDidFinishLaunching() {
    debugLog("[KXPAppDelegate] game loading: start");
    std::srand(m_seedGiven ? m_seed : static_cast<unsigned int>(std::time(nullptr)));
    CCDirector* director = CCDirector::sharedDirector();
    director->setOpenGLView(CCEGLView::sharedOpenGLView());
    // A fresh controller is made and loaded again once every model file is in.
    KXPSettingsController::purgeShared();
    KXPScreenPurchases::install();
    setUpScreen();

    const double before = KXPClock::steadySeconds();
    // The loading screen, which drives the rest of the load from its draw.
    CCScene* first = KXPScreensController::shared()->currentScene();
    director->runWithScene(first != nullptr ? first : CCScene::create());
    const float seconds = static_cast<float>(KXPClock::steadySeconds() - before);
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

void KXPAppDelegate::stopLoading(const std::string& error) {
    m_loadStopped = true;
    m_loadFailed = !error.empty();
    m_loadError = error;
    if (m_loadFailed) {
        debugLog("[KXPAppDelegate] game loading failed: %s", error.c_str());
    }
}

void KXPAppDelegate::loadStep() {
    if (m_loadStopped) {
        return;
    }
    KXModelController* models = KXModelController::shared();
    if (m_restartPending) {
        m_restartPending = false;
        // The data the loading screen was built from is read again with everything else; a
        // start that could not read it (no key file, no general settings) cannot load either.
        if (models->loadFailed()) {
            stopLoading(models->lastError().empty() ? "the game data could not be read"
                                                    : models->lastError());
            return;
        }
        models->clear();
    }
    const bool done = models->isArchiveMode() ? models->loadNextArchiveFile(kStoredArchivePassword)
                                              : models->loadNextFile();
    kxTrace("loading", "loading progress=%d", models->loadingProgress());
    if (!done) {
        return;
    }
    models->closeArchive();
    debugLog("End loading XML");
    if (models->loadFailed() || models->getModelsByType(KXModelGeneralSettings::staticType()).empty()) {
        // Nothing may be saved over the stored progress of a game that did not load.
        stopLoading(models->lastError().empty() ? "no general settings" : models->lastError());
        return;
    }
    finishLoading();
    setGameDataLoaded(true);
    debugLog("loading screens");
    if (KXPScreenUi* ui = KXPScreensController::shared()->currentUi()) {
        ui->playScreenMusic();
    }
    std::string failure = openFirstScreen();
    if (!failure.empty()) {
        // What leads nowhere is most often a file the load could not read whole: name it; when
        // every file read, say what the loaded graph lacks.
        std::string why = models->loadProblemsText();
        if (why.empty() && failure == kStartLeadsNowhere) {
            why = whatTheStartLacks();
        }
        if (!why.empty()) {
            failure += " (" + why + ")";
        }
    }
    stopLoading(failure);
}

void KXPAppDelegate::loadAtlasFrames() {
    debugLog("Start Atlas loading");
    for (const std::shared_ptr<KXModelAtlas>& atlas : getModels<KXModelAtlas>()) {
        debugLog("loading atlas");
        const std::string path = atlas->plistPath();
        debugLog("%s", path.c_str());
        CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile(path.c_str());
    }
}

void KXPAppDelegate::finishLoading() {
    KXPSettingsController::shared()->load();
    KXServices::shared();
    KXAdController::shared()->init();

    loadAtlasFrames();
    // Each bitmap font is read once now, so that its first label later costs nothing.
    for (const std::shared_ptr<KXModelFont>& font : getModels<KXModelFont>()) {
        if (CCLabelBMFont* label = font->createLabel()) {
            label->release();
        }
    }
    for (const std::shared_ptr<KXModelObjectButton>& button : getModelsOfKind<KXModelObjectButton>()) {
        button->resetPressCounter();
    }
    for (const std::shared_ptr<KXModelComponentHealth>& health : getModels<KXModelComponentHealth>()) {
        health->remainingLives = health->lives();
    }
}

std::string KXPAppDelegate::openFirstScreen() {
    KXPScreensController* screens = KXPScreensController::shared();
    CCDirector* director = CCDirector::sharedDirector();
    bool opened = false;
    if (const uint32_t sectionId = screens->currentLevelSectionId()) {
        const auto section = getModel<KXModelLevelSection>(sectionId);
        const auto scene = section ? getFirstParent<KXModelScreenScene>(*section) : nullptr;
        if (scene) {
            screens->resetToScene(scene->key());
            opened = true;
        } else {
            debugLog("[KXPAppDelegate] no game scene holds the level section %u", sectionId);
        }
    }
    if (!opened && !m_firstScreenKey.empty()) {
        bool isScene = false;
        bool isScreen = false;
        for (const auto& scene : getModels<KXModelScreenScene>()) {
            isScene = isScene || scene->key() == m_firstScreenKey;
        }
        for (const auto& screen : getModels<KXModelScreen>()) {
            isScreen = isScreen || screen->key() == m_firstScreenKey;
        }
        if (!isScene && !isScreen) {
            return "no screen with the key " + m_firstScreenKey;
        }
        if (isScene) {
            opened = screens->showScreens(m_firstScreenKey, "", KXPScreensController::kOpenModeRevert) != 0;
        } else {
            screens->resetToUi(m_firstScreenKey);
            opened = true;
        }
    }
    if (!opened) {
        opened = screens->openScene(KXPScreensController::kLoadPort, true,
                                    KXPScreensController::kOpenModeRevert) ||
                 screens->openUi(KXPScreensController::kLoadPort, false);
    }
    if (!opened) {
        debugLog("ERROR! Failed to find ScreenScene attached to Start scene");
        return kStartLeadsNowhere;
    }
    CCScene* scene = screens->currentScene();
    if (scene == nullptr) {
        return "the first screen cannot be shown";
    }
    director->replaceScene(scene);
    return std::string();
}

void KXPAppDelegate::applicationDidEnterBackground() {
    if (KXPGameField* field = KXPScreensController::shared()->currentScreenScene()) {
        if (!field->isPaused()) {
            field->fieldScreen()->setSkipNextInterstitial(true);
        }
        debugLog("[KXPAppDelegate] send game to pause");
        field->pause(nullptr);
    }
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
