#pragma once

// Stands in for the game field until it exists: a screen showing the game scene model's own
// objects with the scene's UI screen over it, so that a game scene can be opened and left. It
// has no world, no level and no pause; the requests of the game-field interface do nothing.

#include "player/KXPGameField.h"
#include "player/KXPScreen.h"

class KXPGameFieldStandIn : public KXPScreen, public KXPGameField {
public:
    // UI layers sit above the field.
    static constexpr int kUiLayerZOrder = 10000;

    // An engine scene with the stand-in under tag 0, for the screens controller's current scene
    // key; null when that key names no game scene.
    static cocos2d::CCScene* createScene();

    bool init() override;
    std::shared_ptr<KXModelScreen> modelForKey(const std::string& key) override;

    KXPScreen* fieldScreen() override { return this; }
    KXPScreenUi* getUiLayer() const override { return m_uiLayer; }
    bool isPaused() const override { return false; }
    bool isGameOver() const override { return false; }
    void pause(cocos2d::CCObject* sender) override { (void)sender; }
    void setRequestedPause(bool paused) override { (void)paused; }
    void handleRequest(int request) override { (void)request; }
    void refreshUiLayer() override;
    void setGameOver(bool gameOver) override { (void)gameOver; }
    void resumeAfterOverlay() override;

private:
    KXPScreenUi* m_uiLayer = nullptr;
};
