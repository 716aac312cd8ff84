#pragma once

// Where input becomes game behaviour: presses and releases of the numbered game actions, their
// listeners, and the buttons bound to keyboard keys.
//
// So far the parts the screen objects need: the key-to-button registry, the listener lists and
// their dispatch (the action buttons send 11 and 12). The built-in effects of actions 1 to 10 on
// characters, motors and spawning units, the keypad and gamepad side and the character queries
// come with the game field.

#include "cocos2d.h"

#include <map>
#include <vector>

class KXPObjectButton;
class KXPScreen;

class KXPInputController : public cocos2d::CCObject, public cocos2d::CCKeypadDelegate {
public:
    // The numbered game actions; only 1 to 10 have a built-in effect, every id reaches its
    // listeners.
    enum Action {
        kActionUp = 1,
        kActionDown = 2,
        kActionRight = 3,
        kActionLeft = 4,
        kActionJump = 5,
        kActionRotateLeft = 6,
        kActionRotateRight = 7,
        kActionShoot = 8,
        kActionMotorClockwise = 9,
        kActionMotorCounterClockwise = 10,
        kActionButtonOn = 11,
        kActionButtonOff = 12,
        kActionSwipeLeft = 13,
        kActionSwipeRight = 14,
        kActionSwipeUp = 15,
        kActionSwipeDown = 16,
    };

    // Made on first use and added to the director's keypad dispatcher.
    static KXPInputController* shared();
    // Deletes the instance; the next shared() makes a fresh one.
    static void purgeShared();

    KXPInputController();
    ~KXPInputController() override;

    // While disabled, presses and releases do nothing.
    void setEnabled(bool enabled) { m_enabled = enabled; }
    bool isEnabled() const { return m_enabled; }

    // A press or release of `action`; `sender` (may be null) is handed to the listeners. A listener
    // with a source id hears only senders whose model has that id (and every press without one).
    void actionPressed(int action, cocos2d::CCObject* sender);
    void actionReleased(int action, cocos2d::CCObject* sender);

    // `handler` is called on `target` with the sender; `sourceId` 0 accepts every sender.
    void subscribe(int action, cocos2d::CCObject* target, cocos2d::SEL_CallFuncO handler, int sourceId);
    // Drops every subscription of `target`.
    void unsubscribe(cocos2d::CCObject* target);
    // Calls the listeners of `action` with `sender`; a listener's source id and `sourceId` must agree
    // when both are set.
    void dispatch(cocos2d::CCObject* sender, int action, int sourceId);

    // The process-wide map from a game key code to the buttons bound to it; buttons register
    // themselves while they hold a model with a keyboard key.
    static void registerButton(int key, KXPObjectButton* button);
    static void unregisterButton(int key, KXPObjectButton* button);
    // Presses (releases) every button bound to `key` whose screen is `screen`; true when there was
    // one. Buttons of other screens, such as the screen below an overlay, are left alone.
    static bool pressKeyButtons(int key, KXPScreen* screen);
    static bool releaseKeyButtons(int key, KXPScreen* screen);

private:
    struct Listener {
        cocos2d::CCObject* target;
        cocos2d::SEL_CallFuncO handler;
        int sourceId;
    };

    void notifyListeners(int action, cocos2d::CCObject* sender);
    static std::map<int, std::vector<KXPObjectButton*>>& buttonsByKey();

    std::map<int, std::vector<Listener>> m_listenersByAction;
    bool m_enabled = true;
};
