// Pausing and resuming the game field with its UI layer, the keypad, switching screens from
// inside the game, and the UI layer's forwarding of highlights and banners.

#include "player/field/KXPScreenScene.h"

#include "model/KXDebugLog.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelObjectButton.h"
#include "player/app/KXPScreensController.h"
#include "player/base/KXPGameField.h"
#include "player/base/KXPTrace.h"
#include "player/field/KXPGameFieldCamera.h"
#include "player/input/KXPInputController.h"
#include "player/objects/KXObjectModelHolder.h"
#include "player/objects/KXPAnimationObject.h"
#include "player/screens/KXPScreenUi.h"
#include "player/sound/KXSound.h"

using namespace cocos2d;

namespace {

// Keypad codes of the arrows; the centre and the face buttons jump.
constexpr int kKeyUp = 19;
constexpr int kKeyDown = 20;
constexpr int kKeyLeft = 21;
constexpr int kKeyRight = 22;

// The game action a keypad code holds; 0 for none.
int actionOfKey(int key) {
    switch (key) {
    case kKeyUp:
        return KXPInputController::kActionUp;
    case kKeyDown:
        return KXPInputController::kActionDown;
    case kKeyLeft:
        return KXPInputController::kActionLeft;
    case kKeyRight:
        return KXPInputController::kActionRight;
    case 23:
    case 96:
    case 99:
    case 100:
        return KXPInputController::kActionJump;
    default:
        return 0;
    }
}

} // namespace

// --- pause ---

void KXPScreenScene::setPaused(bool paused) {
    if (m_paused == paused) {
        return;
    }
    if (!paused) {
        resume();
        return;
    }
    m_paused = true;
    m_requestedPause = true;
    setObjectsPaused(m_objectLayer, true);
    KXSound::pauseGroup(KXSound::kGameObjectGroup);
    kxTrace("game", "game pause step=%u", m_stepCount);
}

void KXPScreenScene::resume() {
    m_paused = false;
    m_requestedPause = false;
    showAds();
    setObjectsPaused(m_objectLayer, false);
    KXSound::resumeGroup(KXSound::kGameObjectGroup);
    kxTrace("game", "game resume step=%u", m_stepCount);
}

void KXPScreenScene::setObjectsPaused(CCNode* node, bool paused) {
    if (node == nullptr) {
        return;
    }
    CCArray* children = node->getChildren();
    for (unsigned int index = 0; children != nullptr && index < children->count(); ++index) {
        setObjectsPaused(static_cast<CCNode*>(children->objectAtIndex(index)), paused);
    }
    if (KXPAnimationObject* animation = dynamic_cast<KXPAnimationObject*>(node)) {
        if (paused) {
            animation->pauseImageActions();
        } else {
            animation->resumeImageActions();
        }
    }
}

void KXPScreenScene::pause(CCObject* sender) {
    if (m_paused || m_gameOver) {
        return;
    }
    // The pause screen is named by the button, else "Pause".
    std::string key = "Pause";
    CCNode* node = dynamic_cast<CCNode*>(sender);
    if (const auto button =
            modelKindCast<KXModelObjectButton>(node ? KXObjectModelHolder::modelOf(node) : nullptr)) {
        if (!button->name().empty()) {
            key = button->name();
        }
    }
    if (!KXPScreensController::shared()->openUi(key, false)) {
        return;
    }
    setPaused(true);
    refreshUiLayer();
}

void KXPScreenScene::refreshUiLayer() {
    if (m_uiLayer != nullptr) {
        m_uiLayer->removeFromParent();
        m_uiLayer = nullptr;
    }
    m_uiLayer = KXPScreenUi::create();
    if (m_uiLayer != nullptr) {
        addChild(m_uiLayer, kUiLayerZOrder);
    }
    const std::string key = KXPScreensController::shared()->currentUiKey();
    if (m_paused) {
        // Back on a HUD of the running game: it runs again.
        if (m_hudKeys.count(key) != 0) {
            resume();
        }
    } else {
        m_hudKeys.insert(key);
    }
    if (m_uiLayer != nullptr) {
        if (requestsWait()) {
            // Its first update may lead to another scene (an observer that fires at once): not
            // while this field's objects run.
            m_uiLayerUpdateParked = true;
        } else {
            m_uiLayer->update(0.0f);
        }
    }
}

void KXPScreenScene::resumeFromUi() {
    if (!KXPScreensController::shared()->resetUiStack()) {
        return;
    }
    m_hudKeys.clear();
    m_hudKeys.rehash(8);
    if (m_paused) {
        resume();
    }
    refreshUiLayer();
}

void KXPScreenScene::resumeAfterOverlay() {
    if (m_paused) {
        resume();
    }
    setControlsVisible(true);
    animationStateChanged();
    playScreenMusic();
}

bool KXPScreenScene::shouldShowBanner() {
    if (m_uiLayer != nullptr) {
        return m_uiLayer->shouldShowBanner();
    }
    return KXPScreen::shouldShowBanner();
}

void KXPScreenScene::pressHilightButton() {
    if (m_uiLayer != nullptr) {
        m_uiLayer->pressHilightButton();
    }
}

void KXPScreenScene::hilightButton(int direction) {
    if (m_uiLayer != nullptr) {
        m_uiLayer->hilightButton(direction);
    }
}

// --- keys ---

void KXPScreenScene::keyBackClicked() {
    debugLog("[KXPScreenScene] - key back clicked");
    if (m_gameOver) {
        // Back at game over plays the level again.
        if (m_uiLayer != nullptr) {
            m_uiLayer->onRestart(nullptr);
        }
        return;
    }
    if (m_uiLayer != nullptr && m_uiLayer->buttonWithAction(KXPScreenUi::kPauseAction) != nullptr &&
        !m_paused) {
        pause(nullptr);
        return;
    }
    if (KXPScreensController::shared()->popUi()) {
        refreshUiLayer();
    }
}

void KXPScreenScene::onKeyDown(int key) {
    // The keypad dispatcher and the input controller may both deliver one press: it acts once.
    if (m_keysDown.count(key) != 0) {
        return;
    }
    m_keysDown[key] = 0;
    if (m_uiLayer != nullptr) {
        m_uiLayer->onKeyDown(key);
    }
    // One press, one action: while the game is paused or over a key moves the highlight on the
    // screen above it and holds no game action.
    const int action = actionOfKey(key);
    if (action != 0 && !m_paused && !m_gameOver) {
        m_keysDown[key] = action;
        m_inputController->actionPressed(action, nullptr);
    }
}

void KXPScreenScene::onKeyUp(int key) {
    auto down = m_keysDown.find(key);
    if (down == m_keysDown.end()) {
        return;
    }
    const int action = down->second;
    m_keysDown.erase(down);
    if (m_uiLayer != nullptr) {
        m_uiLayer->onKeyUp(key);
    }
    // The action its press held ends, even when the game paused meanwhile.
    if (action != 0) {
        m_inputController->actionReleased(action, nullptr);
    }
}

// --- screen switching ---

void KXPScreenScene::switchScreen(const std::string& key, bool pauseAfter, bool restart, int openMode) {
    if (m_uiLayer != nullptr && m_uiLayer->isClosing()) {
        return;
    }
    const auto action = [this, key, pauseAfter, restart, openMode] {
        KXPScreensController* screens = KXPScreensController::shared();
        if (screens->openUi(key, true)) {
            setPaused(pauseAfter);
            refreshUiLayer();
            return;
        }
        changeScene([this, key, restart, openMode] {
            KXPScreensController* controller = KXPScreensController::shared();
            if (!controller->openScene(key, false, openMode)) {
                return false;
            }
            CCScene* scene = controller->currentScene();
            if (scene == nullptr) {
                return false;
            }
            if (restart) {
                if (KXPGameField* field = controller->currentScreenScene()) {
                    field->handleRequest(kRequestFullRestart);
                }
            }
            replaceRunningScene(scene);
            return true;
        });
    };
    if (m_uiLayer != nullptr) {
        m_uiLayer->runAfterCloseAnimation(action);
    } else {
        action();
    }
}

void KXPScreenScene::performButtonAction(const std::shared_ptr<KXModelObjectButton>& model) {
    if (model && KXPScreensController::shared()->openScene(model->name(), false, 0)) {
        replaceRunningScene(KXPScreensController::shared()->currentScene());
    }
}
