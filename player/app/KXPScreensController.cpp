#include "player/app/KXPScreensController.h"

#include "cocos2d.h"
#include "model/KXBaseAttribute.h"
#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelQueries.h"
#include "model/classes/KXModelScreen.h"
#include "model/classes/KXModelScreenScene.h"
#include "model/classes/KXNodeScene.h"
#include "model/classes/KXNodeUI.h"
#include "player/app/KXPGameSceneFactory.h"
#include "player/base/KXPGameField.h"
#include "player/base/KXPGameplaySettings.h"
#include "player/base/KXPLevelField.h"
#include "player/screens/KXPScreenUi.h"
#include "player/sound/KXSound.h"
#include "player/store/KXPSceneKey.h"
#include "player/store/KXPScoreTable.h"
#include "player/store/KXPSwitchStateTable.h"

using namespace cocos2d;

namespace {

// The node that the port leads to, if any.
std::shared_ptr<KXBaseNode> nodeBehind(const KXBaseAttribute* port) {
    if (port == nullptr || port->owner() == nullptr) {
        return nullptr;
    }
    const auto from = std::dynamic_pointer_cast<KXBaseNode>(port->owner()->sharedFromThis());
    return from ? from->nodeLinkedFrom(port) : nullptr;
}

// The screen of a node that the port leads to, when the node is exactly of class Node.
template <class Node> std::shared_ptr<KXModelScreen> screenBehind(const KXBaseAttribute* port) {
    const std::shared_ptr<KXBaseNode> node = nodeBehind(port);
    if (!node || node->typeId() != Node::staticType()) {
        return nullptr;
    }
    return node->screen();
}

// A scene's "UI" port shows the screen of whatever node it leads to, whatever the node's class.
std::shared_ptr<KXModelScreen> screenBehindAnyNode(const KXBaseAttribute* port) {
    const std::shared_ptr<KXBaseNode> node = nodeBehind(port);
    return node ? node->screen() : nullptr;
}

template <class Node>
KXBaseAttribute* portOnNodeWithKey(const std::vector<std::shared_ptr<Node>>& nodes, const std::string& key,
                                   const std::string& name) {
    for (const std::shared_ptr<Node>& node : nodes) {
        const std::shared_ptr<KXModelScreen> screen = node->screen();
        if (screen && screen->key() == key) {
            return node->attribute(name);
        }
    }
    return nullptr;
}

} // namespace

KXPScreensController* KXPScreensController::shared() {
    static KXPScreensController* instance = new KXPScreensController();
    return instance;
}

KXPScreensController::KXPScreensController() {
    m_uiKeys.push_back(kStartScreenKey);
    setSceneKeyReader([]() -> const std::string& { return shared()->currentSceneKey(); });
}

void KXPScreensController::reset() {
    setScene(nullptr);
    m_currentSceneKey.clear();
    m_uiKeys.assign(1, kStartScreenKey);
    m_cursor = 0;
    m_levelSectionId = 0;
    m_openMode = kOpenModeRevert;
}

std::string KXPScreensController::currentUiKey() const {
    return cursorAtEnd() ? std::string() : m_uiKeys[m_cursor];
}

void KXPScreensController::dropKeysAfterCursor() {
    if (!cursorAtEnd()) {
        m_uiKeys.erase(m_uiKeys.begin() + static_cast<std::ptrdiff_t>(m_cursor) + 1, m_uiKeys.end());
    }
}

void KXPScreensController::pushUiKey(const std::string& key) {
    m_uiKeys.push_back(key);
    m_cursor = m_uiKeys.size() - 1;
}

void KXPScreensController::clearUiStack() {
    m_uiKeys.clear();
    m_cursor = 0;
}

void KXPScreensController::settleScores(int mode) {
    if (mode != kOpenModeCommit) {
        worldScores("").revert();
        return;
    }
    currentWorldScores().commit();
    worldScores("").commit();
}

void KXPScreensController::setScene(CCScene* scene) {
    CC_SAFE_RETAIN(scene);
    CCScene* old = m_scene;
    m_scene = scene;
    if (old == nullptr) {
        return;
    }
    // A scene built but never handed to the director (a navigation while it was being built)
    // gets the clean-up it would have had leaving the stage: the scheduler holds its screens.
    CCDirector* director = CCDirector::sharedDirector();
    if (old != scene && old != director->getRunningScene() && old != director->getNextScene() &&
        !old->isRunning()) {
        old->cleanup();
    }
    old->release();
}

void KXPScreensController::forgetScene() {
    KXSound::stopGroup(KXSound::kGameObjectGroup, false);
    setScene(nullptr);
}

KXBaseAttribute* KXPScreensController::sceneNodePort(const std::string& name) const {
    if (m_currentSceneKey.empty()) {
        return nullptr;
    }
    return portOnNodeWithKey(getModels<KXNodeScene>(), m_currentSceneKey, name);
}

KXBaseAttribute* KXPScreensController::uiNodePort(const std::string& name) const {
    if (cursorAtEnd()) {
        return nullptr;
    }
    // Start nodes are UI nodes too.
    return portOnNodeWithKey(getModelsOfKind<KXNodeUI>(), m_uiKeys[m_cursor], name);
}

bool KXPScreensController::openScene(const std::string& name, bool fromUi, int mode) {
    const KXBaseAttribute* port = fromUi ? uiNodePort(name) : sceneNodePort(name);
    const std::shared_ptr<KXModelScreen> screen = screenBehind<KXNodeScene>(port);
    if (!screen) {
        return false;
    }
    settleScores(mode);
    m_currentSceneKey = screen->key();
    clearUiStack();
    const std::shared_ptr<KXModelScreen> hud = screenBehindAnyNode(sceneNodePort(kUiPort));
    if (hud) {
        pushUiKey(hud->key());
    }
    forgetScene();
    m_openMode = mode;
    return true;
}

bool KXPScreensController::openUi(const std::string& name, bool fromScene) {
    const KXBaseAttribute* port = fromScene ? sceneNodePort(name) : uiNodePort(name);
    const std::shared_ptr<KXModelScreen> screen = screenBehind<KXNodeUI>(port);
    if (!screen) {
        return false;
    }
    if (!cursorAtEnd()) {
        if (m_uiKeys[m_cursor] == kStartScreenKey) {
            clearUiStack();
        } else {
            dropKeysAfterCursor();
        }
    }
    pushUiKey(screen->key());
    if (!m_currentSceneKey.empty()) {
        return true;
    }
    forgetScene();
    return true;
}

bool KXPScreensController::popUi() {
    if (m_cursor == 0 || m_uiKeys.empty()) {
        return false;
    }
    // A cursor past the end steps back onto the last key.
    m_cursor = std::min(m_cursor, m_uiKeys.size()) - 1;
    if (!m_currentSceneKey.empty()) {
        return true;
    }
    forgetScene();
    return true;
}

bool KXPScreensController::resetUiStack() {
    const std::shared_ptr<KXModelScreen> hud = screenBehindAnyNode(sceneNodePort(kUiPort));
    if (!hud) {
        return false;
    }
    m_uiKeys.assign(1, hud->key());
    m_cursor = 0;
    return true;
}

void KXPScreensController::resetToScene(const std::string& key) {
    m_currentSceneKey = key;
    clearUiStack();
    if (const std::shared_ptr<KXModelScreen> hud = screenBehindAnyNode(sceneNodePort(kUiPort))) {
        pushUiKey(hud->key());
    }
    forgetScene();
}

void KXPScreensController::resetToUi(const std::string& key) {
    m_currentSceneKey.clear();
    m_uiKeys.assign(1, key);
    m_cursor = 0;
    forgetScene();
}

int KXPScreensController::showScreens(const std::string& sceneKey, const std::string& uiKey, int mode) {
    if (sceneKey == m_currentSceneKey && !cursorAtEnd() && uiKey == m_uiKeys[m_cursor]) {
        return kNothingToShow;
    }
    if (!sceneKey.empty()) {
        if (sceneKey != m_currentSceneKey) {
            settleScores(m_openMode);
            KXSound::stopGroup(KXSound::kGameObjectGroup, false);
            m_currentSceneKey = sceneKey;
            clearUiStack();
            setScene(nullptr);
            m_openMode = mode;
        }
        const int changed = m_scene != nullptr ? kSameScene : kNewScene;
        if (!uiKey.empty()) {
            dropKeysAfterCursor();
            pushUiKey(uiKey);
            return changed;
        }
        const std::shared_ptr<KXModelScreen> hud = screenBehindAnyNode(sceneNodePort(kUiPort));
        if (!hud) {
            clearUiStack();
            return changed;
        }
        if (cursorAtEnd() || hud->key() != m_uiKeys[m_cursor]) {
            dropKeysAfterCursor();
            pushUiKey(hud->key());
            return changed;
        }
        return kNothingToShow;
    }
    if (uiKey.empty()) {
        return kNothingToShow;
    }
    if (!m_currentSceneKey.empty()) {
        clearUiStack();
    }
    settleScores(m_openMode);
    KXSound::stopGroup(KXSound::kGameObjectGroup, false);
    m_currentSceneKey.clear();
    pushUiKey(uiKey);
    setScene(nullptr);
    return kNewScene;
}

KXPGameField* KXPScreensController::currentScreenScene() const {
    if (m_currentSceneKey.empty() || m_scene == nullptr) {
        return nullptr;
    }
    return dynamic_cast<KXPGameField*>(m_scene->getChildByTag(0));
}

KXPLevelField* KXPScreensController::currentLevelField() const {
    if (m_currentSceneKey.empty() || m_scene == nullptr) {
        return nullptr;
    }
    // A field built but not on the stage yet is no running level: objects of the field it
    // replaces, still finishing their frame, must not reach it.
    CCNode* field = m_scene->getChildByTag(0);
    if (field == nullptr || !field->isRunning()) {
        return nullptr;
    }
    return dynamic_cast<KXPLevelField*>(field);
}

KXPScreenUi* KXPScreensController::currentUi() const {
    if (m_scene == nullptr) {
        return nullptr;
    }
    if (!m_currentSceneKey.empty()) {
        if (KXPGameField* field = currentScreenScene()) {
            return field->getUiLayer();
        }
    }
    if (cursorAtEnd()) {
        return nullptr;
    }
    return dynamic_cast<KXPScreenUi*>(m_scene->getChildByTag(0));
}

CCScene* KXPScreensController::buildScene() {
    if (!m_currentSceneKey.empty()) {
        CCScene* scene = createGameScene();
        if (scene == nullptr) {
            return nullptr;
        }
        if (m_openMode == kOpenModeResetScores) {
            if (KXPScreen* field = dynamic_cast<KXPScreen*>(scene->getChildByTag(0))) {
                field->resetSessionScores();
            }
        }
        m_openMode = kOpenModeRevert;
        // A new run starts without the coins of the last one.
        KXPScoreRecord& world = currentWorldScores();
        world.coins.session = 0;
        world.coins.ensureBackup().values[0] = 0;
        world.revert();
        worldScores("").revert();
        return scene;
    }
    if (cursorAtEnd()) {
        return nullptr;
    }
    const std::string& key = m_uiKeys[m_cursor];
    return KXPScreenUi::createScene(key == kStartScreenKey);
}

CCScene* KXPScreensController::currentScene() {
    if (m_scene != nullptr) {
        return m_scene;
    }
    CCScene* scene = buildScene();
    KXPGameplaySettings::shared()->resetSaveNesting();
    clearSwitchStates();
    if (scene == nullptr) {
        return nullptr;
    }
    setScene(scene);
    // The first frame already finds the screen's timed state (an opening of 0 frames is idle).
    if (KXPScreenUi* ui = currentUi()) {
        ui->update(0.0f);
    }
    return m_scene;
}

uint32_t KXPScreensController::nextLevelSectionId(uint32_t id) {
    if (id == 0) {
        return 0;
    }
    std::shared_ptr<KXModelScreenScene> scene;
    bool found = false;
    for (const std::shared_ptr<KXModelLevelSection>& section : getModels<KXModelLevelSection>()) {
        if (!found) {
            if (section->id() == id) {
                found = true;
                scene = getFirstParent<KXModelScreenScene>(*section);
            }
            continue;
        }
        if (!scene) {
            continue;
        }
        for (const std::shared_ptr<KXModel>& parent : section->getParents()) {
            if (parent == scene && section->id() > 0) {
                return section->id();
            }
        }
    }
    return 0;
}
