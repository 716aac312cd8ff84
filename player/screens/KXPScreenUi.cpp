#include "player/screens/KXPScreenUi.h"

#include "model/KXDebugLog.h"
#include "model/KXNumeric.h"
#include "model/classes/KXModelAssetCharacter.h"
#include "model/classes/KXModelGeneralSettings.h"
#include "model/classes/KXModelObjectButton.h"
#include "model/classes/KXModelObjectLabel.h"
#include "model/classes/KXModelObjectLockButton.h"
#include "model/classes/KXModelQueries.h"
#include "model/classes/KXModelScreen.h"
#include "model/classes/KXModelScreenScene.h"
#include "model/classes/KXNodeUI.h"
#include "player/ads/KXAdCustom.h"
#include "player/app/KXPAppDelegate.h"
#include "player/app/KXPScreensController.h"
#include "player/base/KXPGameField.h"
#include "player/input/KXPInputController.h"
#include "player/objects/KXObjectModelHolder.h"
#include "player/objects/KXPObjectCharacterSelector.h"
#include "player/objects/KXPObjectText.h"
#include "player/objects/buttons/KXPObjectButton.h"
#include "player/objects/controls/KXPObjectAccelerometer.h"
#include "player/services/KXServices.h"
#include "player/store/KXPCheckpointTable.h"
#include "player/store/KXPLockStateTable.h"
#include "player/store/KXPScoreTable.h"
#include "player/store/KXPSettingsController.h"
#include "player/store/KXPSwitchStateTable.h"

#include <cstdlib>
#include <vector>

using namespace cocos2d;

namespace {

KXPScreensController* screens() {
    return KXPScreensController::shared();
}

// Keeps an engine object alive for as long as a deferred action holds it.
std::shared_ptr<CCObject> hold(CCObject* object) {
    CC_SAFE_RETAIN(object);
    return std::shared_ptr<CCObject>(object, [](CCObject* held) { CC_SAFE_RELEASE(held); });
}

std::shared_ptr<KXModelObjectButton> buttonModelOf(CCObject* sender) {
    return modelKindCast<KXModelObjectButton>(KXObjectModelHolder::modelOf(sender));
}

// Whether the game has a screen (or, with `scene`, a game scene) of that key.
bool hasScreenWithKey(const std::string& key, bool scene) {
    if (scene) {
        for (const auto& model : getModels<KXModelScreenScene>()) {
            if (model->key() == key) {
                return true;
            }
        }
        return false;
    }
    for (const auto& model : getModels<KXModelScreen>()) {
        if (model->key() == key) {
            return true;
        }
    }
    return false;
}

struct ControlAction {
    const char* name;
    int action;
};

const ControlAction kControlActions[] = {
    {"kCharacterJumpButton", KXPInputController::kActionJump},
    {"kCharacterShootButton", KXPInputController::kActionShoot},
    {"kMotorSpinCWButton", KXPInputController::kActionMotorClockwise},
    {"kMotorSpinCCWButton", KXPInputController::kActionMotorCounterClockwise},
    {"kCharacterRotateLeftButton", KXPInputController::kActionRotateLeft},
    {"kCharacterRotateRightButton", KXPInputController::kActionRotateRight},
    {"kCharacterMoveRightButton", KXPInputController::kActionRight},
    {"kCharacterMoveLeftButton", KXPInputController::kActionLeft},
    {"kCharacterMoveUpButton", KXPInputController::kActionUp},
    {"kCharacterMoveDownButton", KXPInputController::kActionDown},
};

// The indexes of the locked characters whose price the global coins cover.
std::vector<size_t> affordableLockedCharacters() {
    std::vector<size_t> indexes;
    const std::vector<std::shared_ptr<KXModelAssetCharacter>> characters = getModels<KXModelAssetCharacter>();
    const float coins = static_cast<float>(worldScores("").coins.total);
    KXPSettingsController* settings = KXPSettingsController::shared();
    for (size_t index = 0; index < characters.size(); ++index) {
        if (!settings->isCharacterUnlocked(static_cast<uint32_t>(index)) &&
            characters[index]->price() <= coins) {
            indexes.push_back(index);
        }
    }
    return indexes;
}

} // namespace

KXPScreenUi* KXPScreenUi::create() {
    KXPScreenUi* layer = new KXPScreenUi();
    if (!layer->init()) {
        delete layer;
        return nullptr;
    }
    layer->autorelease();
    return layer;
}

CCScene* KXPScreenUi::createScene(bool loading) {
    KXPScreenUi* layer = new KXPScreenUi();
    // The loading screen loads the game even when the game lacks its screen model.
    layer->m_withoutModel = loading;
    if (!layer->init()) {
        delete layer;
        return nullptr;
    }
    layer->autorelease();
    CCScene* scene = CCScene::create();
    layer->setTag(0);
    scene->addChild(layer);
    layer->setLoading(loading);
    return scene;
}

bool KXPScreenUi::init() {
    // Tilt steers only while the screen shown has a tilt object.
    KXPObjectAccelerometer::shared()->setModel(nullptr);
    if (!buildFromModel(screens()->currentUiKey(), true) && !m_withoutModel) {
        return false;
    }
    if (!KXPScreen::init()) {
        return false;
    }
    scheduleUpdate();
    bindButtonAction(kPauseAction, this, menu_selector(KXPScreenUi::onPause));
    bindButtonAction(kRestartAction, this, menu_selector(KXPScreenUi::onRestart));
    bindButtonAction(kRestartCheckpointAction, this, menu_selector(KXPScreenUi::onRestartCheckpoint));
    bindButtonAction(kBackAction, this, menu_selector(KXPScreenUi::onBack));
    bindButtonAction(kBackToAction, this, menu_selector(KXPScreenUi::onBackTo));
    bindButtonAction(kResetAction, this, menu_selector(KXPScreenUi::onReset));
    bindButtonAction(kReviewAction, this, menu_selector(KXPScreen::showGameServices));
    bindButtonAction(kShareAction, this, menu_selector(KXPScreenUi::onShare));
    bindButtonAction(kExitAction, this, menu_selector(KXPScreenUi::onExitButton));

    if (KXPObjectButton* custom = buttonWithAction(kCustomAction)) {
        if (KXAdCustom::shared()->hasButton(custom->getModel()->name())) {
            custom->setMenuTarget(this, menu_selector(KXPScreenUi::onCustom));
        } else {
            custom->setVisible(false);
        }
    }
    registerInputButtons();
    for (const ControlAction& control : kControlActions) {
        bindInputButton(control.name, this, menu_selector(KXPScreenUi::controlActionPressed),
                        menu_selector(KXPScreenUi::controlActionReleased));
    }

    const bool fullscreen = KXPSettingsController::shared()->isFullscreen();
    for (KXPObjectButton* button : buttonsWithAction(kFullscreenAction)) {
        button->setMenuTarget(this, menu_selector(KXPScreenUi::onFullscreen));
        button->setVisible(!fullscreen);
    }
    for (KXPObjectButton* button : buttonsWithAction(kWindowedAction)) {
        button->setMenuTarget(this, menu_selector(KXPScreenUi::onWindowed));
        button->setVisible(fullscreen);
    }

    if (m_model && m_model->key() != KXPScreensController::kStartScreenKey) {
        playScreenMusic();
    }
    if (buttonWithAction(kUnlockCharacterAction) != nullptr) {
        bindButtonAction(kUnlockCharacterAction, this, menu_selector(KXPScreenUi::onUnlockCharacter));
        updateUnlockCharacterButton();
    }
    if (KXServices::shared()->prefersButtonHighlight()) {
        hilightDefaultButton();
    }
    // A new UI layer (a restart rebuilds the HUD) gives the field's input back.
    if (KXPInputController* input = KXPInputController::existing()) {
        input->setEnabled(true);
    }
    return true;
}

void KXPScreenUi::registerInputButtons() {
    for (KXPObjectButton* button : buttonsWithAction(kInputActionButton)) {
        debugLog("---------- register button with ID: %u", button->getModel()->id());
        button->setActionHandler(this, menu_selector(KXPScreenUi::inputActionPressed),
                                 menu_selector(KXPScreenUi::inputActionReleased));
    }
}

int KXPScreenUi::controlAction(const std::string& action) {
    for (const ControlAction& control : kControlActions) {
        if (action == control.name) {
            return control.action;
        }
    }
    return 0;
}

void KXPScreenUi::update(float dt) {
    KXPScreen::update(dt);
    for (KXPObjectButton* button : buttonsWithAction(kGameServicesAction)) {
        button->setVisible(KXServices::shared()->isGameServicesAvailable());
    }
}

std::string KXPScreenUi::screenName() const {
    if (m_model) {
        for (const std::shared_ptr<KXNodeUI>& node : getModelsOfKind<KXNodeUI>()) {
            const std::shared_ptr<KXModelScreen> screen = node->screen();
            if (screen && screen->id() == m_model->id()) {
                return node->name();
            }
        }
    }
    return "Unknown";
}

void KXPScreenUi::onEnter() {
    KXPScreen::onEnter();
    KXServices::shared()->screenOnEnter(screenName());
}

void KXPScreenUi::onExit() {
    CCLayer::onExit();
    KXServices::shared()->screenOnExit(screenName());
}

void KXPScreenUi::setLoading(bool loading) {
    if (!loading || m_loading) {
        m_loading = loading;
        return;
    }
    m_loading = true;
    m_loadingFrames = 0;
    CCDirector* director = CCDirector::sharedDirector();
    CCEGLViewProtocol* view = director->getOpenGLView();
    if (CCSprite* picture = CCSprite::create("Default.png")) {
        const CCSize window = director->getWinSize();
        const CCPoint offset = director->contentOffset();
        picture->setPosition(CCPoint(window.width * 0.5f - offset.x, window.height * 0.5f - offset.y));
        const CCSize frame = view != nullptr ? view->getFrameSize() : window;
        const CCSize size = picture->getContentSize();
        if (size.width > 0.0f && size.height > 0.0f && frame.height > 0.0f) {
            // Covers the whole frame: the side that fills last decides.
            float scale = frame.width / frame.height > size.width / size.height ? frame.width / size.width
                                                                                : frame.height / size.height;
            const float viewScale = view != nullptr ? view->getScaleX() : 1.0f;
            if (viewScale > 0.0f) {
                scale /= viewScale;
            }
            picture->setScale(scale);
        }
        addChild(picture);
    }
    debugLog("scale X: %f Y: %f", view != nullptr ? view->getScaleX() : 1.0f,
             view != nullptr ? view->getScaleY() : 1.0f);
    auto label = std::static_pointer_cast<KXModelObjectLabel>(KXModelObjectLabel::create());
    if (KXPObjectText* text = KXPObjectText::create(label)) {
        addChild(text);
    }
}

void KXPScreenUi::draw() {
    KXPScreen::draw();
    if (!m_loading) {
        return;
    }
    if (m_loadingFrames < kFirstLoadingFrame) {
        ++m_loadingFrames;
    }
    if (m_loadingFrames < kFirstLoadingFrame) {
        return;
    }
    if (KXPAppDelegate* application = dynamic_cast<KXPAppDelegate*>(CCApplication::sharedApplication())) {
        application->loadStep();
    }
}

void KXPScreenUi::defer(Action action) {
    if (m_animationState == kAnimationClosing) {
        return;
    }
    runAfterCloseAnimation(std::move(action));
}

void KXPScreenUi::onPause(CCObject* sender) {
    auto held = hold(sender);
    defer([held] {
        if (KXPGameField* field = screens()->currentScreenScene()) {
            field->pause(held.get());
        }
    });
}

void KXPScreenUi::onRestart(CCObject*) {
    defer([this] {
        KXPGameField* field = screens()->currentScreenScene();
        if (field == nullptr) {
            return;
        }
        if (!field->fieldScreen()->shouldShowBanner()) {
            hideAdsNow();
        }
        field->fieldScreen()->resetSessionScores();
        field->handleRequest(6);
    });
}

void KXPScreenUi::onRestartCheckpoint(CCObject*) {
    defer([this] {
        KXPGameField* field = screens()->currentScreenScene();
        if (field == nullptr) {
            return;
        }
        // The level comes back as it was at the checkpoint: every switch off.
        clearSwitchStates();
        if (!field->fieldScreen()->shouldShowBanner()) {
            hideAdsNow();
        }
        field->fieldScreen()->animationStateChanged();
        field->setGameOver(false);
        goBack();
    });
}

void KXPScreenUi::goBack() {
    KXPScreensController* controller = screens();
    KXPGameField* field = controller->currentScreenScene();
    if (!controller->popUi()) {
        return;
    }
    if (field != nullptr) {
        field->refreshUiLayer();
    } else {
        replaceRunningScene(controller->currentScene());
    }
}

void KXPScreenUi::onBack(CCObject*) {
    defer([this] { goBack(); });
}

void KXPScreenUi::keyBackClicked() {
    debugLog("[KXPScreenUi] keyBackClicked");
    onBack(nullptr);
}

void KXPScreenUi::onBackTo(CCObject* sender) {
    const std::shared_ptr<KXModelObjectButton> model = buttonModelOf(sender);
    if (!model) {
        return;
    }
    defer([this, model] { goBackTo(model); });
}

void KXPScreenUi::goBackTo(const std::shared_ptr<KXModelObjectButton>& model) {
    const std::string world = model->resolvedBackToWorld();
    const std::string ui = model->resolvedBackTo();
    // A key that names no screen leads nowhere: nothing changes.
    if ((!world.empty() && !hasScreenWithKey(world, true)) || (!ui.empty() && !hasScreenWithKey(ui, false))) {
        debugLog("[KXPScreenUi] %s: no screen to go back to (%s %s)", model->name().c_str(), world.c_str(),
                 ui.c_str());
        return;
    }
    KXPScreensController* controller = screens();
    controller->setCurrentLevelSectionId(0);
    const int answer = controller->showScreens(world, ui, KXPScreensController::kOpenModeRevert);
    if (answer == KXPScreensController::kNewScene) {
        replaceRunningScene(controller->currentScene());
    } else if (answer == KXPScreensController::kSameScene) {
        if (KXPGameField* field = controller->currentScreenScene()) {
            if (field->isGameOver()) {
                field->handleRequest(1);
            }
            field->refreshUiLayer();
        }
    }
}

void KXPScreenUi::onReset(CCObject*) {
    KXServices::shared()->setCallback(KXModelGeneralSettings::shared()->resetText(), this,
                                      services_selector(KXPScreenUi::onResetConfirmed));
}

void KXPScreenUi::onResetConfirmed(bool confirmed) {
    if (!confirmed) {
        return;
    }
    clearScores();
    clearCheckpoints();
    clearLockStates();
    KXPSettingsController* settings = KXPSettingsController::shared();
    settings->reset(true);
    settings->save();
}

void KXPScreenUi::onShare(CCObject*) {
    debugLog("Share Button Action");
}

void KXPScreenUi::onExitButton(CCObject*) {
    KXServices::shared()->requestExit();
}

void KXPScreenUi::onCustom(CCObject* sender) {
    if (const std::shared_ptr<KXModelObjectButton> model = buttonModelOf(sender)) {
        KXAdCustom::shared()->buttonActivated(model->name());
    }
}

// The input side belongs to the game field: without one running these do nothing.
void KXPScreenUi::inputActionPressed(CCObject* sender) {
    if (screens()->currentScreenScene() != nullptr) {
        KXPInputController::shared()->actionPressed(KXPInputController::kActionButtonOn, sender);
    }
}

void KXPScreenUi::inputActionReleased(CCObject* sender) {
    if (screens()->currentScreenScene() != nullptr) {
        KXPInputController::shared()->actionReleased(KXPInputController::kActionButtonOff, sender);
    }
}

void KXPScreenUi::controlActionPressed(CCObject* sender) {
    const std::shared_ptr<KXModelObjectButton> model = buttonModelOf(sender);
    const int action = model ? controlAction(model->action()) : 0;
    if (action != 0 && screens()->currentScreenScene() != nullptr) {
        KXPInputController::shared()->actionPressed(action, sender);
    }
}

void KXPScreenUi::controlActionReleased(CCObject* sender) {
    const std::shared_ptr<KXModelObjectButton> model = buttonModelOf(sender);
    const int action = model ? controlAction(model->action()) : 0;
    if (action != 0 && screens()->currentScreenScene() != nullptr) {
        KXPInputController::shared()->actionReleased(action, sender);
    }
}

void KXPScreenUi::onFullscreen(CCObject* sender) {
    if (CCNode* button = dynamic_cast<CCNode*>(sender)) {
        button->setVisible(false);
    }
    if (KXPObjectButton* windowed = buttonWithAction(kWindowedAction)) {
        windowed->setVisible(true);
    }
    KXPSettingsController::shared()->setFullscreen(true);
    KXServices::shared()->setFullscreen(true);
}

void KXPScreenUi::onWindowed(CCObject* sender) {
    if (KXPObjectButton* fullscreen = buttonWithAction(kFullscreenAction)) {
        fullscreen->setVisible(true);
    }
    if (CCNode* button = dynamic_cast<CCNode*>(sender)) {
        button->setVisible(false);
    }
    KXPSettingsController::shared()->setFullscreen(false);
    KXServices::shared()->setFullscreen(false);
}

void KXPScreenUi::performButtonAction(const std::shared_ptr<KXModelObjectButton>& model) {
    if (!model) {
        return;
    }
    const bool lockButton = model->typeId() == KXModelObjectLockButton::staticType();
    const uint32_t section = lockButton ? screens()->currentLevelSectionId() : 0;
    const int openMode = model->action() == kNoAction ? KXPScreensController::kOpenModeResetScores
                                                      : KXPScreensController::kOpenModeRevert;
    followLink(model->name(), section, model->action() == kStartCheckpointAction, kPauseModeKeep, openMode);
}

void KXPScreenUi::followLink(const std::string& name, uint32_t levelSectionId, bool startFromCheckpoint,
                             int pauseMode, int openMode) {
    KXPScreensController* controller = screens();
    CCScene* scene = nullptr;
    if (controller->openUi(name, false)) {
        if (KXPGameField* field = controller->currentScreenScene()) {
            if (pauseMode != kPauseModeKeep) {
                field->setRequestedPause(pauseMode == 0);
            }
            field->refreshUiLayer();
            return;
        }
        scene = controller->currentScene();
    } else {
        if (!controller->openScene(name, true, openMode)) {
            debugLog("[KXPScreenUi] %s leads to no screen", name.c_str());
            return;
        }
        scene = controller->currentScene();
        if (scene != nullptr && startFromCheckpoint) {
            if (KXPGameField* field = dynamic_cast<KXPGameField*>(scene->getChildByTag(0))) {
                field->handleRequest(6);
            }
        }
    }
    if (scene == nullptr) {
        debugLog("[KXPScreenUi] the screen behind %s cannot be shown", name.c_str());
        return;
    }
    controller->setCurrentLevelSectionId(levelSectionId);
    replaceRunningScene(scene);
}

void KXPScreenUi::scheduleCall(const std::string& name, uint32_t levelSectionId, bool startFromCheckpoint,
                               int pauseMode, int openMode) {
    defer([this, name, levelSectionId, startFromCheckpoint, pauseMode, openMode] {
        followLink(name, levelSectionId, startFromCheckpoint, pauseMode, openMode);
    });
}

void KXPScreenUi::setControlsEnabled(bool enabled) {
    m_controlsEnabled = enabled;
    // Menus make no input controller; a running field's follows the HUD's controls.
    if (KXPInputController* input = KXPInputController::existing()) {
        input->setEnabled(enabled);
    }
    for (KXPObjectButton* button : allButtons()) {
        button->setEnabled(enabled);
    }
}

void KXPScreenUi::reshow() {
    setControlsVisible(true);
    animationStateChanged();
    playScreenMusic();
}

void KXPScreenUi::updateUnlockCharacterButton() {
    if (KXPObjectButton* button = buttonWithAction(kUnlockCharacterAction)) {
        button->setVisible(!affordableLockedCharacters().empty());
    }
}

KXPObjectCharacterSelector* KXPScreenUi::findCharacterSelector() const {
    CCObject* child = nullptr;
    CCARRAY_FOREACH(controlsNode()->getChildren(), child) {
        if (auto* selector = dynamic_cast<KXPObjectCharacterSelector*>(child)) {
            return selector;
        }
    }
    return nullptr;
}

void KXPScreenUi::onUnlockCharacter(CCObject*) {
    unlockRandomCharacter();
}

void KXPScreenUi::unlockRandomCharacter() {
    const std::vector<size_t> candidates = affordableLockedCharacters();
    if (candidates.empty()) {
        KXServices::shared()->setCallback(KXModelGeneralSettings::shared()->notEnoughCurrencyText(), nullptr,
                                          nullptr);
        return;
    }
    const size_t index = candidates[static_cast<size_t>(std::rand()) % candidates.size()];
    if (KXPObjectCharacterSelector* selector = findCharacterSelector()) {
        // The selector shows the character and unlocks it by its own purchase method.
        selector->setSelectedIndex(static_cast<int>(index));
        selector->unlockCharacter(static_cast<int>(index));
        updateUnlockCharacterButton();
        return;
    }
    const std::shared_ptr<KXModelAssetCharacter> character = getModels<KXModelAssetCharacter>()[index];
    KXPScoreCount& coins = worldScores("").coins;
    const float price = character->price();
    if (price <= static_cast<float>(coins.total)) {
        coins.total -= kx::truncateToInt(price);
        if (coins.session > coins.total) {
            coins.session = coins.total;
        }
        coins.commit();
        KXPSettingsController* settings = KXPSettingsController::shared();
        settings->unlockCharacter(static_cast<uint32_t>(index));
        settings->setSelectedCharacter(static_cast<int>(index));
        settings->save();
    }
    updateUnlockCharacterButton();
}
