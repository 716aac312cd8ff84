#pragma once

// The base of every screen: the game field and the UI screens derive from it. It turns a screen
// model into runtime objects under its controls node (each button in a menu of its own, so that
// the button's "Z Depth" is its touch priority and its "Block Touch" its swallowing), keeps them
// in a map by model, plays the screen's opening, idle and closing animation on them, defers
// button actions until the closing animation has played, plays the screen's music, shows its
// ads, and handles the purchase and powerup buttons that report to it.

#include "cocos2d.h"
#include "player/base/KXPKinds.h"
#include "player/screens/KXPButtonHighlight.h"
#include "player/sound/KXSoundControllerHost.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class KXModelAssetPowerup;
class KXModelObject;
class KXModelObjectButton;
class KXModelScreen;
class KXPGameField;
class KXPObjectButton;
class KXSoundController;

class KXPScreen : public cocos2d::CCLayer, public KXSoundControllerHost {
public:
    // Tag of the menu that holds each button under the controls node.
    static constexpr int kButtonMenuTag = 100;
    // Z-order of the controls node in the screen.
    static constexpr int kControlsZOrder = 2000;
    // Animation states (also the animation key the objects evaluate their keyframes under).
    static constexpr int kAnimationOpening = 0;
    static constexpr int kAnimationIdle = 1;
    static constexpr int kAnimationClosing = 2;
    // Screen animations count frames of 1/30 s.
    static constexpr float kAnimationFrameSeconds = 1.0f / 30.0f;

    using Action = std::function<void()>;
    using ObjectMap = std::map<std::shared_ptr<KXModelObject>, cocos2d::CCNode*>;

    KXPScreen();
    ~KXPScreen() override;

    // The first child of the director's running scene as a screen; null when no scene runs or its
    // first child is not a screen.
    static KXPScreen* runningScreen();
    // From the running scene's first screen down through the first screen child of each: the
    // innermost one (an overlay on top); null when the running scene has none.
    static KXPScreen* topScreen();

    // Takes the screen model of `key` and, with `withObjects`, makes its runtime objects. False
    // (logged) when the game has no screen of that key.
    virtual bool buildFromModel(const std::string& key, bool withObjects);
    bool init() override;
    // Animation timing, then the update list.
    void update(float dt) override;
    // Shows the screen's ads.
    void onEnter() override;
    // The objects are hidden first, so that nothing of the screen shows for its last frame.
    void removeFromParent() override;
    // Off the stage the closing animation never ends: the kept action (and what it holds, often
    // the screen's own parent) goes with its timer.
    void cleanup() override;

    std::shared_ptr<KXModelScreen> model() const { return m_model; }
    // Parent of every runtime object of the screen; made by the constructor, added to the screen
    // when the screen is built.
    cocos2d::CCNode* controlsNode() const { return m_controlsNode; }
    const ObjectMap& objectMap() const { return m_objects; }
    const std::vector<cocos2d::CCNode*>& updateList() const { return m_updateList; }
    // The runtime node made for that model, or null.
    cocos2d::CCNode* nodeForModel(const std::shared_ptr<KXModelObject>& model) const;

    // Every button in the menus whose model's "Action" is exactly `action`, in child order.
    std::vector<KXPObjectButton*> buttonsWithAction(const std::string& action) const;
    KXPObjectButton* buttonWithAction(const std::string& action) const;
    // Every button in the menus, in child order.
    std::vector<KXPObjectButton*> allButtons() const;
    // Those buttons deliver their presses to `target` (their own press and release handlers are
    // dropped).
    void bindButtonAction(const std::string& action, cocos2d::CCObject* target,
                          cocos2d::SEL_MenuHandler handler);
    // Those buttons hold an input action: `press` while they show pressed, `release` after.
    void bindInputButton(const std::string& action, cocos2d::CCObject* listener,
                         cocos2d::SEL_MenuHandler press, cocos2d::SEL_MenuHandler release);

    // Hands the state to the screen's objects as their animation key (texts and buttons take
    // their new pose at once), then animationStateChanged().
    virtual void setAnimationState(int state);
    int animationState() const { return m_animationState; }
    float animationTimer() const { return m_animationTimer; }
    bool isClosing() const { return m_animationState == kAnimationClosing; }
    // Runs the action now when the model has no closing animation; otherwise keeps it (replacing
    // a kept one), plays the closing animation and runs it once that has played.
    void runAfterCloseAnimation(Action action);
    void closeAnimationDidEnd(float dt);
    bool hasDeferredAction() const { return static_cast<bool>(m_deferredAction); }

    // An overlay UI screen shows over this one as its child.
    void showOverlay(KXPScreen* overlay);
    void setControlsVisible(bool visible);
    void hideControlsChildren();
    // Banner and interstitial hidden, the music plays on.
    void hideAdsNow();
    // Hands the scene to the director; null does nothing.
    void replaceRunningScene(cocos2d::CCScene* scene);
    // The session scores as the model's first score component says.
    void resetSessionScores();

    bool skipNextInterstitial() const { return m_skipNextInterstitial; }
    void setSkipNextInterstitial(bool skip) { m_skipNextInterstitial = skip; }

    // --- The family's operations ---
    void stopBackgroundMusic() override;
    void playScreenMusic() override;
    virtual void animationStateChanged();
    // After the purchase that removes ads: ads hidden, the remove-ads buttons too, also on
    // screens nested in the controls node.
    virtual void adsRemoved();
    // Keyboard and controller navigation over the buttons (KXPButtonHighlight).
    virtual void pressHilightButton();
    virtual void hilightButton(int direction);
    virtual void hilightDefaultButton();
    virtual void removeButton(const std::shared_ptr<KXModelObject>& model);
    virtual void showAds();
    virtual bool shouldShowBanner();
    // The parent as a running game field, or null.
    virtual KXPGameField* parentScene() const;
    virtual void hideAds();
    // Called on an overlay: it closes and its parent shows again.
    virtual void closeOverlay();
    // The base credits a coin powerup to the scores; the game field places powerups.
    virtual void usePowerup(const std::shared_ptr<KXModelAssetPowerup>& powerup, bool aboveCharacter);
    // The menu handler of ordinary buttons: performButtonAction after the closing animation;
    // ignored while closing.
    virtual void buttonPressed(cocos2d::CCObject* sender);
    virtual void performButtonAction(const std::shared_ptr<KXModelObjectButton>& model) { (void)model; }
    virtual void showGameServices(cocos2d::CCObject* sender);
    // The screen model of that key, or empty.
    virtual std::shared_ptr<KXModelScreen> modelForKey(const std::string& key);

    // Button handlers.
    void restorePurchases(cocos2d::CCObject* sender);
    void purchaseButtonPressed(cocos2d::CCObject* sender);
    void usePowerupButton(cocos2d::CCObject* sender);

    // The rows of the screen-object factory (makeObject) by name, as its made objects are traced.
    static KXPKindTable objectKindTable();

    // Sound buttons find their buttons through this.
    std::vector<cocos2d::CCMenuItem*> menuItemsWithAction(const std::string& action) override;

    // Holds a screen while something acts on it (its objects' updates, a key's buttons) and tells
    // whether that took it down: off the stage, or its scene about to go (the director was handed
    // another scene). What is left to act on the screen then stays still.
    class Hold {
    public:
        explicit Hold(KXPScreen* screen);
        ~Hold();
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;
        bool takenDown() const;

    private:
        KXPScreen* m_screen;
        bool m_wasRunning;
        cocos2d::CCScene* m_nextScene;
    };

protected:
    // The runtime object of one screen object (not a button), autoreleased; null for kinds a
    // screen does not show.
    cocos2d::CCNode* makeObject(const std::shared_ptr<KXModelObject>& model, bool* updated);
    void addButtons(std::vector<std::shared_ptr<KXModelObjectButton>> buttons);
    void enterObject(const std::shared_ptr<KXModelObject>& model, cocos2d::CCNode* node, bool updated);

    std::shared_ptr<KXModelScreen> m_model;
    cocos2d::CCNode* m_controlsNode = nullptr;
    bool m_skipNextInterstitial = false;
    KXSoundController* m_soundController = nullptr;
    ObjectMap m_objects;
    std::vector<cocos2d::CCNode*> m_updateList;
    int m_animationState = kAnimationOpening;
    float m_animationTimer = 0.0f;
    Action m_deferredAction;
    KXPButtonHighlight m_buttonHighlight;
};
