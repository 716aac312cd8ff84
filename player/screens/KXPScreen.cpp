#include "player/screens/KXPScreen.h"

#include "SimpleAudioEngine.h"
#include "model/KXDebugLog.h"
#include "model/KXNumeric.h"
#include "model/classes/KXModelAssetPowerup.h"
#include "model/classes/KXModelComponentScore.h"
#include "model/classes/KXModelObjectButton.h"
#include "model/classes/KXModelObjectButtonCharacterUnlock.h"
#include "model/classes/KXModelObjectButtonPowerup.h"
#include "model/classes/KXModelObjectButtonPurchase.h"
#include "model/classes/KXModelObjectButtonSwitch.h"
#include "model/classes/KXModelObjectImage.h"
#include "model/classes/KXModelObjectLabel.h"
#include "model/classes/KXModelQueries.h"
#include "model/classes/KXModelScreen.h"
#include "model/classes/KXModelSound.h"
#include "player/ads/KXAdController.h"
#include "player/app/KXPScreensController.h"
#include "player/base/KXPGameField.h"
#include "player/base/KXPTouchPriority.h"
#include "player/base/KXPTrace.h"
#include "player/objects/KXObjectModelHolder.h"
#include "player/objects/KXPObject.h"
#include "player/objects/KXPObjectCharacterSelector.h"
#include "player/objects/KXPObjectImage.h"
#include "player/objects/KXPObjectText.h"
#include "player/objects/buttons/KXPObjectButton.h"
#include "player/objects/buttons/KXPObjectButtonJoystick.h"
#include "player/objects/buttons/KXPObjectButtonPowerup.h"
#include "player/objects/buttons/KXPObjectButtonPurchase.h"
#include "player/objects/controls/KXPObjectSwipeControl.h"
#include "player/objects/controls/KXPTouchControl.h"
#include "player/services/KXPurchaseBridge.h"
#include "player/services/KXServices.h"
#include "player/sound/KXSound.h"
#include "player/sound/KXSoundController.h"
#include "player/store/KXPScoreTable.h"
#include "player/store/KXPSettingsController.h"

#include <algorithm>
#include <climits>
#include <cstdint>

using namespace cocos2d;

namespace {

constexpr const char* kRestorePurchasesAction = "kRestorePurchasesButton";
constexpr const char* kGameServicesAction = "kGameServices";
constexpr const char* kRemoveAdsType = "kPurchaseRemoveAds";
constexpr const char* kMethodStore = "kInAppPurchase";
constexpr const char* kMethodRewardedVideos = "kRewardedVideos";
constexpr const char* kCoinPowerup = "kPowerupCoin";

// Adds a reward to a running figure and its lifetime total; the best follows the running one.
// Saturates, so that a huge reward cannot overflow.
void credit(KXPScoreCount& value, int amount) {
    const auto add = [](int32_t base, int32_t extra) {
        const int64_t sum = static_cast<int64_t>(base) + extra;
        return static_cast<int32_t>(std::max<int64_t>(INT32_MIN, std::min<int64_t>(INT32_MAX, sum)));
    };
    value.session = add(value.session, amount);
    value.total = add(value.total, amount);
    value.best = std::max(value.best, value.session);
}

void creditPowerup(KXPScoreRecord& record, const KXModelAssetPowerup& powerup) {
    credit(record.coins, powerup.rewardCoins());
    credit(record.points, powerup.rewardPoints());
}

// Plays a screen's music track as the background music (an interface sound that deletes itself).
void playMusic(const std::shared_ptr<KXModelSound>& sound, bool loop) {
    auto* music = new KXSound(sound, KXSound::kInterfaceGroup);
    music->setAutoDelete(true);
    music->play(loop, true);
}

// The powerup asset that an action button uses, read as the button reads it for its count.
std::shared_ptr<KXModelAssetPowerup> powerupOf(const KXModelObjectButtonPowerup& button) {
    const uint32_t id = KXPObjectButtonPowerup::powerupSelectionId(button);
    return id > 0 ? getModel<KXModelAssetPowerup>(id) : nullptr;
}

} // namespace

KXPScreen::KXPScreen() : m_controlsNode(new CCNode()), m_soundController(new KXSoundController(this)) {
    m_controlsNode->init();
}

KXPScreen::~KXPScreen() {
    // Touch controls leave the dispatcher when they leave the stage; these never reached it
    // (the menus join only on the stage).
    CCObject* child = nullptr;
    CCARRAY_FOREACH(m_controlsNode->getChildren(), child) {
        if (auto* joystick = dynamic_cast<KXPObjectButtonJoystick*>(child)) {
            detachTouchControl(joystick);
        } else if (auto* swipe = dynamic_cast<KXPObjectSwipeControl*>(child)) {
            detachTouchControl(swipe);
        }
    }
    CC_SAFE_RELEASE(m_soundController);
    m_deferredAction = nullptr;
    for (auto& entry : m_objects) {
        entry.second->release();
    }
    m_objects.clear();
    m_updateList.clear();
    m_controlsNode->release();
}

KXPScreen* KXPScreen::runningScreen() {
    CCScene* scene = CCDirector::sharedDirector()->getRunningScene();
    if (scene == nullptr || scene->getChildrenCount() == 0) {
        return nullptr;
    }
    return dynamic_cast<KXPScreen*>(static_cast<CCObject*>(scene->getChildren()->objectAtIndex(0)));
}

KXPScreen* KXPScreen::topScreen() {
    CCScene* scene = CCDirector::sharedDirector()->getRunningScene();
    if (scene == nullptr) {
        return nullptr;
    }
    const auto firstScreenChild = [](CCNode* node) -> KXPScreen* {
        CCObject* item = nullptr;
        CCARRAY_FOREACH(node->getChildren(), item) {
            if (KXPScreen* screen = dynamic_cast<KXPScreen*>(item)) {
                return screen;
            }
        }
        return nullptr;
    };
    KXPScreen* top = firstScreenChild(scene);
    // Screens nest only a few deep; the cap keeps a damaged tree from walking forever.
    for (int depth = 0; top != nullptr && depth < 64; ++depth) {
        KXPScreen* inner = firstScreenChild(top);
        if (inner == nullptr) {
            break;
        }
        top = inner;
    }
    return top;
}

std::shared_ptr<KXModelScreen> KXPScreen::modelForKey(const std::string& key) {
    for (const std::shared_ptr<KXModelScreen>& screen : getModels<KXModelScreen>()) {
        if (screen->key() == key) {
            return screen;
        }
    }
    return nullptr;
}

bool KXPScreen::buildFromModel(const std::string& key, bool withObjects) {
    m_model = modelForKey(key);
    if (!m_model) {
        debugLog("[KXPScreen] no screen model with the key %s", key.c_str());
        return false;
    }
    kxTrace("screens", "screen open key=%s", key.c_str());
    if (m_controlsNode->getParent() == nullptr) {
        addChild(m_controlsNode, kControlsZOrder);
    }
    if (withObjects) {
        std::vector<std::shared_ptr<KXModelObjectButton>> buttons;
        for (const std::shared_ptr<KXModelObject>& object : m_model->getObjects()) {
            if (!object || object->isHidden()) {
                continue;
            }
            if (auto button = modelKindCast<KXModelObjectButton>(object)) {
                buttons.push_back(button);
                continue;
            }
            bool updated = false;
            if (CCNode* node = makeObject(object, &updated)) {
                enterObject(object, node, updated);
                if (KXPObjectText* text = dynamic_cast<KXPObjectText*>(node)) {
                    text->update(0.0f);
                }
            }
        }
        addButtons(std::move(buttons));
        // Higher objects update first; equal z orders keep their order.
        std::stable_sort(m_updateList.begin(), m_updateList.end(),
                         [](CCNode* a, CCNode* b) { return a->getZOrder() > b->getZOrder(); });
    }
    setAnimationState(kAnimationOpening);
    return true;
}

void KXPScreen::enterObject(const std::shared_ptr<KXModelObject>& model, CCNode* node, bool updated) {
    node->retain();
    m_objects[model] = node;
    m_controlsNode->addChild(node, model->zDepth());
    if (updated) {
        m_updateList.push_back(node);
    }
}

void KXPScreen::addButtons(std::vector<std::shared_ptr<KXModelObjectButton>> buttons) {
    std::stable_sort(buttons.begin(), buttons.end(),
                     [](const auto& a, const auto& b) { return a->zDepth() < b->zDepth(); });
    for (const std::shared_ptr<KXModelObjectButton>& model : buttons) {
        KXPObjectButton* button = KXPObjectButton::create(model, this);
        if (button == nullptr) {
            continue;
        }
        CCMenu* menu = CCMenu::create(model->blockTouch());
        // A menu starts at the middle of the window; the buttons place themselves.
        menu->setPosition(CCPointZero);
        menu->setAnchorPoint(CCPointZero);
        menu->setTag(kButtonMenuTag);
        button->retain();
        m_objects[model] = button;
        m_updateList.push_back(button);
        menu->addChild(button, 0);
        // Higher buttons take touches first.
        menu->setTouchPriority(touchPriorityForDepth(model->zDepth()));
        m_controlsNode->addChild(menu, model->zDepth());
    }
}

bool KXPScreen::init() {
    if (!CCLayer::init()) {
        return false;
    }
    for (KXPObjectButton* button : allButtons()) {
        const std::shared_ptr<KXModelObjectButton> model = button->getModel();
        if (!model) {
            continue;
        }
        const uint32_t type = model->typeId();
        // These kinds keep the handler their button class set.
        if (type == KXModelObjectButtonPowerup::staticType() ||
            type == KXModelObjectButtonPurchase::staticType() ||
            type == KXModelObjectButtonCharacterUnlock::staticType() ||
            type == KXModelObjectButtonSwitch::staticType()) {
            // A switch only flips its state; it leads nowhere.
            continue;
        }
        button->setMenuTarget(this, menu_selector(KXPScreen::buttonPressed));
    }
    bindButtonAction(kRestorePurchasesAction, this, menu_selector(KXPScreen::restorePurchases));
    bindButtonAction(kGameServicesAction, this, menu_selector(KXPScreen::showGameServices));
    m_soundController->setUp();
    if (m_model && m_model->isMuted()) {
        setVisible(false);
    }
    return true;
}

void KXPScreen::update(float dt) {
    m_animationTimer += dt;
    if (m_model) {
        if (m_animationState == kAnimationOpening &&
            m_animationTimer >= static_cast<float>(m_model->openAnimationFrames()) * kAnimationFrameSeconds) {
            setAnimationState(kAnimationIdle);
        } else if (m_animationState == kAnimationIdle && m_model->idleAnimationLoop() &&
                   m_animationTimer >=
                       static_cast<float>(m_model->idleAnimationFrames()) * kAnimationFrameSeconds) {
            setAnimationState(kAnimationIdle);
        }
    }
    if (!m_model) {
        return;
    }
    // Updates may remove objects from the screen (removeButton lets go of a node at once): each
    // node is held for the walk, and one taken off the screen meanwhile is not updated. An update
    // may also take the screen down (another screen in its place, another scene on its way): the
    // rest of it then stays still instead of acting for a screen that is gone.
    const std::vector<CCNode*> nodes = m_updateList;
    const Hold held(this);
    for (CCNode* node : nodes) {
        node->retain();
    }
    for (CCNode* node : nodes) {
        if (held.takenDown()) {
            break;
        }
        if (node->getParent() != nullptr) {
            node->update(dt);
        }
    }
    for (CCNode* node : nodes) {
        node->release();
    }
}

KXPScreen::Hold::Hold(KXPScreen* screen)
    : m_screen(screen), m_wasRunning(screen != nullptr && screen->isRunning()),
      m_nextScene(CCDirector::sharedDirector()->getNextScene()) {
    if (m_screen != nullptr) {
        m_screen->retain();
    }
}

KXPScreen::Hold::~Hold() {
    if (m_screen != nullptr) {
        m_screen->release();
    }
}

bool KXPScreen::Hold::takenDown() const {
    return (m_wasRunning && !m_screen->isRunning()) ||
           CCDirector::sharedDirector()->getNextScene() != m_nextScene;
}

void KXPScreen::onEnter() {
    CCLayer::onEnter();
    showAds();
}

void KXPScreen::removeFromParent() {
    hideControlsChildren();
    CCLayer::removeFromParent();
}

CCNode* KXPScreen::nodeForModel(const std::shared_ptr<KXModelObject>& model) const {
    const auto found = m_objects.find(model);
    return found == m_objects.end() ? nullptr : found->second;
}

std::vector<KXPObjectButton*> KXPScreen::allButtons() const {
    std::vector<KXPObjectButton*> buttons;
    CCObject* item = nullptr;
    CCARRAY_FOREACH(m_controlsNode->getChildren(), item) {
        CCNode* menu = static_cast<CCNode*>(item);
        if (menu->getTag() != kButtonMenuTag) {
            continue;
        }
        CCObject* inner = nullptr;
        CCARRAY_FOREACH(menu->getChildren(), inner) {
            if (KXPObjectButton* button = dynamic_cast<KXPObjectButton*>(inner)) {
                buttons.push_back(button);
            }
        }
    }
    return buttons;
}

std::vector<KXPObjectButton*> KXPScreen::buttonsWithAction(const std::string& action) const {
    std::vector<KXPObjectButton*> matching;
    for (KXPObjectButton* button : allButtons()) {
        const auto model = button->getModel();
        if (model && model->action() == action) {
            matching.push_back(button);
        }
    }
    return matching;
}

KXPObjectButton* KXPScreen::buttonWithAction(const std::string& action) const {
    const std::vector<KXPObjectButton*> matching = buttonsWithAction(action);
    return matching.empty() ? nullptr : matching.front();
}

std::vector<CCMenuItem*> KXPScreen::menuItemsWithAction(const std::string& action) {
    std::vector<CCMenuItem*> items;
    for (KXPObjectButton* button : buttonsWithAction(action)) {
        items.push_back(button);
    }
    return items;
}

void KXPScreen::bindButtonAction(const std::string& action, CCObject* target, SEL_MenuHandler handler) {
    for (KXPObjectButton* button : buttonsWithAction(action)) {
        button->setMenuTarget(target, handler);
    }
}

void KXPScreen::bindInputButton(const std::string& action, CCObject* listener, SEL_MenuHandler press,
                                SEL_MenuHandler release) {
    for (KXPObjectButton* button : buttonsWithAction(action)) {
        button->setActionHandler(listener, press, release);
    }
}

namespace {

void handAnimationState(CCNode* node, int state) {
    if (KXPObjectImage* image = dynamic_cast<KXPObjectImage*>(node)) {
        image->setAnimationKey(state);
    } else if (KXPObjectButton* button = dynamic_cast<KXPObjectButton*>(node)) {
        button->setAnimationKey(state);
        button->update(0.0f);
    } else if (KXPObjectText* text = dynamic_cast<KXPObjectText*>(node)) {
        text->setAnimationKey(state);
        text->update(0.0f);
    } else if (auto* selector = dynamic_cast<KXPObjectCharacterSelector*>(node)) {
        selector->setAnimationKey(state);
        selector->resetAnimationTime();
    }
}

} // namespace

void KXPScreen::setAnimationState(int state) {
    m_animationState = state;
    if (m_model) {
        for (const std::shared_ptr<KXModelObject>& object : m_model->getObjects()) {
            if (CCNode* node = nodeForModel(object)) {
                handAnimationState(node, state);
            }
        }
    } else {
        // A screen put together by hand (tools, tests): every object under the controls node.
        for (KXPObjectButton* button : allButtons()) {
            handAnimationState(button, state);
        }
        CCObject* item = nullptr;
        CCARRAY_FOREACH(m_controlsNode->getChildren(), item) {
            handAnimationState(static_cast<CCNode*>(item), state);
        }
    }
    animationStateChanged();
}

void KXPScreen::animationStateChanged() {
    m_animationTimer = 0.0f;
    if (!m_model) {
        return;
    }
    for (const std::shared_ptr<KXModelObject>& object : m_model->getObjects()) {
        CCNode* node = nodeForModel(object);
        if (node == nullptr) {
            continue;
        }
        if (KXPObjectImage* image = dynamic_cast<KXPObjectImage*>(node)) {
            image->restart();
            image->update(0.0f);
        } else if (KXPObjectButton* button = dynamic_cast<KXPObjectButton*>(node)) {
            button->resetAnimationTime();
        } else if (KXPObject* runtime = dynamic_cast<KXPObject*>(node)) {
            runtime->restoreInitialState();
        }
    }
}

void KXPScreen::runAfterCloseAnimation(Action action) {
    const int frames = m_model ? m_model->closeAnimationFrames() : 0;
    if (frames < 1) {
        if (action) {
            action();
        }
        return;
    }
    m_deferredAction = std::move(action);
    scheduleOnce(schedule_selector(KXPScreen::closeAnimationDidEnd),
                 static_cast<float>(frames) * kAnimationFrameSeconds);
    setAnimationState(kAnimationClosing);
}

void KXPScreen::cleanup() {
    CCLayer::cleanup();
    // Moved out first: what the action holds may reach this screen as it goes.
    Action dropped = std::move(m_deferredAction);
    m_deferredAction = nullptr;
}

void KXPScreen::closeAnimationDidEnd(float) {
    if (!m_deferredAction) {
        return;
    }
    // The action usually replaces this screen; keep both alive through it.
    Action action = std::move(m_deferredAction);
    m_deferredAction = nullptr;
    retain();
    action();
    release();
}

void KXPScreen::buttonPressed(CCObject* sender) {
    if (m_animationState == kAnimationClosing) {
        return;
    }
    const auto model = modelKindCast<KXModelObjectButton>(KXObjectModelHolder::modelOf(sender));
    if (!model) {
        return;
    }
    runAfterCloseAnimation([this, model] { performButtonAction(model); });
}

void KXPScreen::stopBackgroundMusic() {
    CocosDenshion::SimpleAudioEngine::sharedEngine()->stopBackgroundMusic(false);
}

void KXPScreen::playScreenMusic() {
    if (!m_model) {
        return;
    }
    if (m_model->key() == KXPScreensController::kStartScreenKey) {
        if (const std::shared_ptr<KXModelScreen> stored = modelForKey(m_model->key())) {
            m_model->setMusic(stored->music());
        }
        if (const std::shared_ptr<KXModelSound> music = m_model->music()) {
            playMusic(music, m_model->loopMusic());
        }
        return;
    }
    KXPGameField* field = parentScene();
    if (field == nullptr) {
        return;
    }
    const std::shared_ptr<KXModelScreen> sceneModel = field->fieldScreen()->model();
    if (sceneModel && sceneModel->music()) {
        playMusic(sceneModel->music(), sceneModel->loopMusic());
        return;
    }
    for (const std::shared_ptr<KXModelScreen>& screen : getModels<KXModelScreen>()) {
        if (screen->key() == KXPScreensController::kMainMenuKey) {
            if (screen->music()) {
                playMusic(screen->music(), screen->loopMusic());
            }
            return;
        }
    }
}

void KXPScreen::removeButton(const std::shared_ptr<KXModelObject>& model) {
    if (!model) {
        return;
    }
    for (auto entry = m_objects.begin(); entry != m_objects.end(); ++entry) {
        if (entry->first->id() != model->id()) {
            continue;
        }
        CCNode* node = entry->second;
        m_updateList.erase(std::remove(m_updateList.begin(), m_updateList.end(), node), m_updateList.end());
        node->removeFromParent();
        node->release();
        m_objects.erase(entry);
        return;
    }
}

bool KXPScreen::shouldShowBanner() {
    return m_model && m_model->shouldShowBanner();
}

KXPGameField* KXPScreen::parentScene() const {
    return dynamic_cast<KXPGameField*>(getParent());
}

void KXPScreen::showAds() {
    if (m_model) {
        KXAdController::shared()->showScreenAds(*m_model, m_skipNextInterstitial);
    }
}

void KXPScreen::hideAdsNow() {
    debugLog("[%s] hide ads", m_model ? m_model->key().c_str() : "");
    KXAdController::shared()->hideBanner();
    KXAdController::shared()->hideInterstitial();
}

void KXPScreen::hideAds() {
    stopBackgroundMusic();
    hideAdsNow();
}

void KXPScreen::adsRemoved() {
    hideAdsNow();
    CCObject* item = nullptr;
    CCARRAY_FOREACH(m_controlsNode->getChildren(), item) {
        CCNode* child = static_cast<CCNode*>(item);
        if (child->getTag() == kButtonMenuTag) {
            CCObject* inner = nullptr;
            CCARRAY_FOREACH(child->getChildren(), inner) {
                KXPObjectButton* button = dynamic_cast<KXPObjectButton*>(inner);
                const auto purchase =
                    button ? modelCast<KXModelObjectButtonPurchase>(button->getModel()) : nullptr;
                if (purchase && purchase->purchaseType() == kRemoveAdsType) {
                    button->setVisible(false);
                }
            }
        } else if (KXPScreen* nested = dynamic_cast<KXPScreen*>(child)) {
            nested->adsRemoved();
        }
    }
}

void KXPScreen::showOverlay(KXPScreen* overlay) {
    if (overlay == nullptr) {
        return;
    }
    if (!overlay->shouldShowBanner()) {
        hideAdsNow();
    }
    m_controlsNode->setVisible(false);
    addChild(overlay);
}

void KXPScreen::closeOverlay() {
    stopBackgroundMusic();
    hideAdsNow();
    if (KXPGameField* field = parentScene()) {
        field->resumeAfterOverlay();
    } else if (KXPScreen* parent = dynamic_cast<KXPScreen*>(getParent())) {
        parent->setControlsVisible(true);
        parent->showAds();
    }
    removeFromParent();
}

void KXPScreen::setControlsVisible(bool visible) {
    m_controlsNode->setVisible(visible);
}

void KXPScreen::hideControlsChildren() {
    CCObject* item = nullptr;
    CCARRAY_FOREACH(m_controlsNode->getChildren(), item) {
        static_cast<CCNode*>(item)->setVisible(false);
    }
}

namespace {

// The screen and the screens shown over it (a game's HUD, overlays), each stopped.
void stopScreens(CCNode* node) {
    if (KXPScreen* screen = dynamic_cast<KXPScreen*>(node)) {
        screen->unscheduleAllSelectors();
    }
    CCObject* item = nullptr;
    CCARRAY_FOREACH(node->getChildren(), item) {
        if (KXPScreen* inner = dynamic_cast<KXPScreen*>(item)) {
            stopScreens(inner);
        }
    }
}

} // namespace

void KXPScreen::replaceRunningScene(CCScene* scene) {
    if (scene == nullptr) {
        return;
    }
    // Nothing of the leaving scene plays on until the director switches: the screens controller
    // and the shared input controller already belong to the next scene.
    if (CCScene* leaving = CCDirector::sharedDirector()->getRunningScene()) {
        if (leaving != scene) {
            stopScreens(leaving);
        }
    }
    unscheduleAllSelectors();
    hideControlsChildren();
    KXPScreen* next = dynamic_cast<KXPScreen*>(scene->getChildByTag(0));
    if (next != nullptr && !next->shouldShowBanner()) {
        hideAdsNow();
    }
    CCDirector::sharedDirector()->replaceScene(scene);
}

void KXPScreen::resetSessionScores() {
    if (!m_model) {
        return;
    }
    if (const auto score = getFirstChild<KXModelComponentScore>(*m_model)) {
        resetScores(score->resetDistance(), score->resetPoints(), score->resetCoins(), false);
    }
}

void KXPScreen::pressHilightButton() {
    m_buttonHighlight.pressHilightButton(*this);
}

void KXPScreen::hilightButton(int direction) {
    m_buttonHighlight.hilightButton(*this, direction);
}

void KXPScreen::hilightDefaultButton() {
    m_buttonHighlight.hilightDefaultButton(*this);
}

void KXPScreen::showGameServices(CCObject*) {
    KXServices::shared()->showGameServices();
}

void KXPScreen::restorePurchases(CCObject*) {
    // The store of this platform has nothing to restore.
    KXPurchaseBridge::shared();
}

void KXPScreen::purchaseButtonPressed(CCObject* sender) {
    KXPObjectButtonPurchase* button = dynamic_cast<KXPObjectButtonPurchase*>(sender);
    const auto model = button ? modelCast<KXModelObjectButtonPurchase>(button->getModel()) : nullptr;
    if (!model) {
        return;
    }
    const std::string& method = model->purchaseMethod();
    if (method == kMethodStore) {
        if (model->storeIdentifier().empty()) {
            return;
        }
        KXPurchaseBridge* bridge = KXPurchaseBridge::shared();
        bridge->setCallback(button, purchase_selector(KXPObjectButtonPurchase::purchaseDidComplete));
        bridge->purchase(model->storeIdentifier());
    } else if (method == kMethodRewardedVideos) {
        KXAdController* ads = KXAdController::shared();
        ads->setRewardedVideoCallback(button, callfunc_selector(KXPObjectButtonPurchase::purchase));
        ads->showRewardedVideo(model->adNetwork());
    } else {
        button->purchase();
    }
}

void KXPScreen::usePowerupButton(CCObject* sender) {
    KXPObjectButton* button = dynamic_cast<KXPObjectButton*>(sender);
    const auto model = button ? modelCast<KXModelObjectButtonPowerup>(button->getModel()) : nullptr;
    if (!model) {
        return;
    }
    KXPScreen* running = runningScreen();
    KXPGameField* field = dynamic_cast<KXPGameField*>(running);
    const std::shared_ptr<KXModelAssetPowerup> powerup = powerupOf(*model);
    if (field != nullptr && powerup) {
        KXPSettingsController* settings = KXPSettingsController::shared();
        const int count = settings->inventoryCount(powerup);
        const bool above = model->isLayeringAboveCharacter();
        if (model->unlimitedUse()) {
            running->usePowerup(powerup, above);
        } else if (count > 0) {
            // Taken from the stock first: what the use does to the stock (a rebuild's refill)
            // comes after it.
            settings->setInventoryCount(powerup, count - 1);
            running->usePowerup(powerup, above);
        }
    }
    // The refill clock starts after a use.
    if (KXPObjectButtonPowerup* own = dynamic_cast<KXPObjectButtonPowerup*>(button)) {
        own->registerRefill();
    } else if (powerup && model->refillTimeout() > 0.0f) {
        KXPSettingsController::shared()->startRefill(powerup->id(), kx::truncateToInt(model->refillTimeout()),
                                                     kx::truncateToInt(model->maxRefill()));
    }
}

void KXPScreen::usePowerup(const std::shared_ptr<KXModelAssetPowerup>& powerup, bool aboveCharacter) {
    (void)aboveCharacter;
    if (!powerup || powerup->powerupType() != kCoinPowerup) {
        return;
    }
    creditPowerup(worldScores(""), *powerup);
    if (KXPScreensController::shared()->currentScreenScene() != nullptr) {
        creditPowerup(currentWorldScores(), *powerup);
    }
    KXPSettingsController::shared()->save();
}
