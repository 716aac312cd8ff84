#pragma once

// The navigator between screens. It holds keys, not screens: the key of the current game scene
// (empty while only UI screens run), a stack of UI screen keys with a cursor on the one shown, and
// the engine scene it last built from them. Navigation follows the screen graph: the port of a
// given name on the node of the current screen leads to the next node, whose screen model gives
// the next key. After a change that needs a new engine scene the controller forgets the one it
// built; the caller takes currentScene() and hands it to the director.

#include <cstdint>
#include <string>
#include <vector>

namespace cocos2d {
class CCScene;
}

class KXBaseAttribute;
class KXPGameField;
class KXPLevelField;
class KXPScreenUi;

class KXPScreensController {
public:
    // The start and loading screen, and the screen whose music a game scene falls back to.
    static constexpr const char* kStartScreenKey = "KXPScreenStart";
    static constexpr const char* kMainMenuKey = "KXPScreenMainMenu";
    // Ports followed by the player itself.
    static constexpr const char* kLoadPort = "Load";
    static constexpr const char* kUiPort = "UI";

    // Open modes: how the next game scene treats the session scores.
    static constexpr int kOpenModeRevert = 0;
    static constexpr int kOpenModeCommit = 1;
    static constexpr int kOpenModeResetScores = 2;

    // showScreens answers.
    static constexpr int kNothingToShow = 0;
    static constexpr int kNewScene = 1;
    static constexpr int kSameScene = 2;

    // The single instance, made on first use and kept for the process.
    static KXPScreensController* shared();

    KXPScreensController(const KXPScreensController&) = delete;
    KXPScreensController& operator=(const KXPScreensController&) = delete;

    // Back to the start: no scene key, the UI stack ["KXPScreenStart"], no engine scene, level
    // section 0, open mode 0.
    void reset();

    // The engine scene of the current keys, built when none is held (null when it cannot be
    // built; the next call tries again). The controller keeps one reference to it.
    cocos2d::CCScene* currentScene();
    // The engine scene held now, without building one.
    cocos2d::CCScene* heldScene() const { return m_scene; }
    // While a game scene is current: the game-field layer of the held engine scene, else null.
    KXPGameField* currentScreenScene() const;
    // The same layer as the running level its objects ask of, once it is on the stage; else null.
    KXPLevelField* currentLevelField() const;
    // The UI layer that takes input: the game field's UI layer while a game scene is current,
    // else the held UI scene's layer; null without an engine scene.
    KXPScreenUi* currentUi() const;

    // The "Key" of the current game scene's screen; empty while no game scene is current.
    const std::string& currentSceneKey() const { return m_currentSceneKey; }
    void setCurrentSceneKey(const std::string& key) { m_currentSceneKey = key; }
    // The key under the cursor; empty when the cursor is past the end.
    std::string currentUiKey() const;
    const std::vector<std::string>& uiKeys() const { return m_uiKeys; }
    size_t cursor() const { return m_cursor; }
    int openMode() const { return m_openMode; }

    // The port of that name on the scene node of the current scene key / on the UI node of the
    // key under the cursor; null when there is no such node or attribute.
    KXBaseAttribute* sceneNodePort(const std::string& name) const;
    KXBaseAttribute* uiNodePort(const std::string& name) const;

    // Follows the port to a game scene node: the scene becomes current with its own "UI"
    // screen; false (nothing changed) when the port leads to no game scene.
    bool openScene(const std::string& name, bool fromUi, int mode);
    // Follows the port to a UI node and pushes its key; false (nothing changed) when the port
    // leads to no UI node. With a game scene current the engine scene stays.
    bool openUi(const std::string& name, bool fromScene);
    // Back one UI screen; false on the first key.
    bool popUi();
    // The UI stack becomes the current scene's own "UI" screen; false when it has none.
    bool resetUiStack();
    // Makes the game scene of that key current (resuming a level).
    void resetToScene(const std::string& key);
    // Makes the UI screen of that key the only one, without a game scene (a run that starts on a
    // chosen screen instead of the start node's).
    void resetToUi(const std::string& key);
    // Sets the scene and the UI screen by key, without the graph: kNothingToShow, kNewScene
    // (take currentScene()) or kSameScene (the held game scene shows another UI layer).
    int showScreens(const std::string& sceneKey, const std::string& uiKey, int mode);

    // The id of the level section the running level started from; 0 when none.
    uint32_t currentLevelSectionId() const { return m_levelSectionId; }
    void setCurrentLevelSectionId(uint32_t id) { m_levelSectionId = id; }
    // The next level section of the same game scene after the one with that id, in load order;
    // 0 when none follows.
    static uint32_t nextLevelSectionId(uint32_t id);

private:
    KXPScreensController();

    bool cursorAtEnd() const { return m_cursor >= m_uiKeys.size(); }
    // Keys after the cursor go (forward history); nothing when the cursor is past the end.
    void dropKeysAfterCursor();
    void pushUiKey(const std::string& key);
    void clearUiStack();
    // The score records as a scene change leaves them: revert the global record, or (mode 1)
    // commit the current world's and the global record.
    void settleScores(int mode);
    // Sounds of game objects stop and the held engine scene is forgotten.
    void forgetScene();
    void setScene(cocos2d::CCScene* scene);
    cocos2d::CCScene* buildScene();

    std::string m_currentSceneKey;
    std::vector<std::string> m_uiKeys;
    size_t m_cursor = 0;
    cocos2d::CCScene* m_scene = nullptr;
    uint32_t m_levelSectionId = 0;
    int m_openMode = kOpenModeRevert;
};
