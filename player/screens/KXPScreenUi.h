#pragma once

// The layer of a UI screen: a menu, the loading screen, or the heads-up layer over the game
// field. It gives every button its meaning: navigation along the screen graph, back, pause and
// restart of the running game, reset, exit, the full-screen/windowed pair, the character
// controls, character unlocking. While it is the loading screen it drives the staged loading
// from its draw: one step per drawn frame from the tenth on.

#include "player/screens/KXPScreen.h"

#include <memory>
#include <string>

class KXPObjectCharacterSelector;

class KXPScreenUi : public KXPScreen {
public:
    static constexpr const char* kPauseAction = "kPauseButton";
    static constexpr const char* kRestartAction = "kRestartButton";
    static constexpr const char* kRestartCheckpointAction = "kRestartCheckpointButton";
    static constexpr const char* kBackAction = "kBackButton";
    static constexpr const char* kBackToAction = "kBackToButton";
    static constexpr const char* kResetAction = "kResetButton";
    static constexpr const char* kReviewAction = "kReviewButton";
    static constexpr const char* kShareAction = "kShareButton";
    static constexpr const char* kExitAction = "kExitButton";
    static constexpr const char* kCustomAction = "kCustom";
    static constexpr const char* kInputActionButton = "kInputControllerActionButton";
    static constexpr const char* kFullscreenAction = "kFullscreen";
    static constexpr const char* kWindowedAction = "kWindowed";
    static constexpr const char* kGameServicesAction = "kGameServices";
    static constexpr const char* kUnlockCharacterAction = "kUnlockCharacter";
    static constexpr const char* kNoAction = "kNoAction";
    static constexpr const char* kStartCheckpointAction = "kStartCheckpointButton";
    // The drawn frame of the loading screen from which each frame loads one file.
    static constexpr int kFirstLoadingFrame = 10;
    // Pause modes of followLink: 0 and 1 set the running game's pause to 1 - mode, 2 leaves it.
    static constexpr int kPauseModeKeep = 2;

    // A layer for the UI key under the screens controller's cursor, set up and autoreleased;
    // null when it cannot be set up.
    static KXPScreenUi* create();
    // An engine scene holding a new layer under tag 0; the loading screen when `loading`. Null
    // when the layer cannot be set up.
    static cocos2d::CCScene* createScene(bool loading);

    bool init() override;
    void update(float dt) override;
    void onEnter() override;
    void onExit() override;
    void draw() override;
    void keyBackClicked() override;
    void performButtonAction(const std::shared_ptr<KXModelObjectButton>& model) override;

    // Controls visible again, the animation and the music start again.
    virtual void reshow();

    void setLoading(bool loading);
    bool isLoading() const { return m_loading; }
    int loadingFrames() const { return m_loadingFrames; }

    // Buttons and the input controller's controls follow the flag.
    void setControlsEnabled(bool enabled);
    bool controlsEnabled() const { return m_controlsEnabled; }

    // Follows the screen-graph port named `name` from this screen: to a UI screen (over a
    // running game, with its pause as `pauseMode` says) or to a game scene opened with
    // `openMode`; the level section is where the level starts.
    void followLink(const std::string& name, uint32_t levelSectionId, bool startFromCheckpoint, int pauseMode,
                    int openMode);
    // followLink after the closing animation; nothing while the screen is closing.
    void scheduleCall(const std::string& name, uint32_t levelSectionId, bool startFromCheckpoint,
                      int pauseMode, int openMode);

    // The "kUnlockCharacter" button shows while some locked character is affordable.
    void updateUnlockCharacterButton();
    // Unlocks one affordable locked character at random, paid with the global coins.
    void unlockRandomCharacter();
    // The character selector among this screen's objects; null without one.
    KXPObjectCharacterSelector* findCharacterSelector() const;
    void registerInputButtons();

    // Button handlers.
    void onPause(cocos2d::CCObject* sender);
    void onRestart(cocos2d::CCObject* sender);
    void onRestartCheckpoint(cocos2d::CCObject* sender);
    void onBack(cocos2d::CCObject* sender);
    void onBackTo(cocos2d::CCObject* sender);
    void onReset(cocos2d::CCObject* sender);
    void onShare(cocos2d::CCObject* sender);
    void onExitButton(cocos2d::CCObject* sender);
    void onCustom(cocos2d::CCObject* sender);
    void inputActionPressed(cocos2d::CCObject* sender);
    void inputActionReleased(cocos2d::CCObject* sender);
    void controlActionPressed(cocos2d::CCObject* sender);
    void controlActionReleased(cocos2d::CCObject* sender);
    void onFullscreen(cocos2d::CCObject* sender);
    void onWindowed(cocos2d::CCObject* sender);
    void onUnlockCharacter(cocos2d::CCObject* sender);
    void onResetConfirmed(bool confirmed);

    // The game action (1 to 10) of a character-control button action; 0 for any other text.
    static int controlAction(const std::string& action);

private:
    // A handler that waits for the closing animation; nothing while closing.
    void defer(Action action);
    // Back one UI screen: the game field rebuilds its UI layer, or the new scene replaces this.
    void goBack();
    void goBackTo(const std::shared_ptr<KXModelObjectButton>& model);
    std::string screenName() const;

    // Set up even when the game has no screen of the key (the loading screen must load).
    bool m_withoutModel = false;
    bool m_loading = false;
    int m_loadingFrames = 0;
    bool m_controlsEnabled = true;
};
