#pragma once

// What the screens ask of the running game field: its UI layer, pause and game-over state, the
// requests that restart or rebuild it, and its resumption after an overlay. The game-field scene
// (a KXPScreen) implements it beside its screen base, so that screens, the screens controller and
// the application delegate reach the field without knowing its class. With no field running,
// the callers find none and do nothing.

namespace cocos2d {
class CCObject;
}

class KXPScreen;
class KXPScreenUi;

class KXPGameField {
public:
    virtual ~KXPGameField() = default;

    // The field as the screen it also is.
    virtual KXPScreen* fieldScreen() = 0;
    // The UI screen shown over the field (its heads-up layer), or null.
    virtual KXPScreenUi* getUiLayer() const = 0;

    virtual bool isPaused() const = 0;
    virtual bool isGameOver() const = 0;
    // Opens the pause screen (named by the sender button's model, else "Pause") unless the
    // field is paused or over already; sender may be null.
    virtual void pause(cocos2d::CCObject* sender) = 0;
    // The pause state the next frame update brings the field to.
    virtual void setRequestedPause(bool paused) = 0;
    // Restart and rebuild requests (1 level reset after game over, 2 restart, 6 full restart
    // resumed from the UI, ...).
    virtual void handleRequest(int request) = 0;
    // Rebuilds the UI layer for the screens controller's current UI key.
    virtual void refreshUiLayer() = 0;
    // false rebuilds the level from the last checkpoint.
    virtual void setGameOver(bool gameOver) = 0;
    // An overlay UI screen over the field closed: resume, show the controls again.
    virtual void resumeAfterOverlay() = 0;
};
