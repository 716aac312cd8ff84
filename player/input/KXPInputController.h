#pragma once

// Where input becomes game behaviour. Every source of input (keys, controller, on-screen buttons,
// swipe and switch controls) ends in a press or a release of a numbered game action. Actions 1 to
// 10 act on the registered characters and motors; then every action reaches the components that
// subscribed to it and switches the spawning units registered for it. The controller also answers
// the game field's questions about its characters and moves or kills them for the camera and the
// checkpoints, and keeps the process-wide registry of buttons bound to keyboard keys.
//
// The game field makes its own controller, which becomes the shared one, and retires it when it
// goes; the next shared() after that makes a fresh one.

#include "cocos2d.h"

#include <box2d/box2d.h>

#include <functional>
#include <list>
#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

class KXBaseModelLinker;
class KXModelComponentHealth;
class KXPControlledCharacter;
class KXPObject;
class KXPObjectAsset;
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

    // The shared controller, made on first use.
    static KXPInputController* shared();
    // The shared controller, or null while there is none.
    static KXPInputController* existing();
    // Retires the shared controller; the next shared() makes a fresh one.
    static void purgeShared();

    // A new controller (one reference, the caller's) that becomes the shared one and listens to
    // the keypad. A controller it replaces is left to its owner.
    KXPInputController();
    ~KXPInputController() override;

    // Stops listening to the keypad, lets go of the shared slot when it holds this controller,
    // and drops the caller's reference. Safe during a keypad dispatch: the dispatcher keeps the
    // controller alive until the dispatch is over.
    void retire();

    // While disabled, presses and releases do nothing.
    void setEnabled(bool enabled) { m_enabled = enabled; }
    bool isEnabled() const { return m_enabled; }

    // A press or release of `action`: its built-in effect, then its listeners (with `sender`, may
    // be null; a listener with a source id hears only senders whose model has that id, and every
    // press without a sender), then its spawning units.
    void actionPressed(int action, cocos2d::CCObject* sender);
    void actionReleased(int action, cocos2d::CCObject* sender);

    // `handler` is called on `target` with the sender; `sourceId` 0 accepts every sender.
    void subscribe(int action, cocos2d::CCObject* target, cocos2d::SEL_CallFuncO handler, int sourceId);
    // Drops the first subscription of `target` in every action's list.
    void unsubscribe(cocos2d::CCObject* target);
    // Calls the listeners of `action` with `sender`; a listener's source id and `sourceId` must agree
    // when both are set.
    void dispatch(cocos2d::CCObject* sender, int action, int sourceId);

    // Units that spawn while `action` is held (not retained: a unit unsubscribes when it goes).
    void subscribeUnit(int action, KXPObjectAsset* unit);
    void unsubscribeUnit(KXPObjectAsset* unit);
    void clearUnits();

    // Characters (their objects are retained while registered). A new character at once gets
    // the direction held now, and so do the others again.
    void addCharacter(KXPControlledCharacter* character);
    // While one lives, characters are added with nothing between them that steers the ones added
    // before (a level section being built): the others get the held direction again at the first
    // addition only, as each later one would give them the same direction once more.
    class AdditionBatch {
    public:
        explicit AdditionBatch(KXPInputController* controller);
        ~AdditionBatch();
        AdditionBatch(const AdditionBatch&) = delete;
        AdditionBatch& operator=(const AdditionBatch&) = delete;

    private:
        KXPInputController* m_controller; // retained
    };
    // Characters added before were moved inside a batch (a section's linkers): the next centre
    // is summed afresh.
    void charactersMoved() {
        m_summedCharacters = 0;
        m_heldCentreKnown = false;
    }
    void removeCharacter(KXPControlledCharacter* character);
    const std::vector<KXPControlledCharacter*>& characters() const { return registered(); }
    // Some character is not dead; before the first character since the last reset, true.
    bool hasLiveCharacters() const;
    // The average position of the characters neither dead nor excluded (control positions for
    // directly moved ones); the last average when none counts.
    cocos2d::CCPoint charactersPosition();
    // While the field's objects update (`held`), a crowd of kManyCharacters or more has its centre
    // worked out once until a character is added, removed, pushed or placed: each object not yet
    // woken asks for it, and summing every character at each ask cost the square of the crowd a
    // frame (20,000 characters: seconds). One that dies in the pass counts until it ends. Fewer are
    // summed at each ask, as they always were.
    static constexpr size_t kManyCharacters = 1024;
    void holdCentre(bool held) {
        m_centreHeld = held;
        m_heldCentreKnown = false;
    }
    // The union of the characters' physics boxes, in points.
    cocos2d::CCRect charactersBoundingRect() const;
    // The average start position of the characters placed in the level sections that open a level.
    cocos2d::CCPoint charactersStartPosition() const;
    int firstCharacterZOrder() const;
    // The health component of the first character's asset, or empty.
    std::shared_ptr<KXModelComponentHealth> firstCharacterHealth() const;
    // Ends every character's powerups and kills it.
    void killAllCharacters();
    // On-screen joystick.
    void setJoystickAxes(float x, float y);
    // A direction from an on-screen control or the tilt to every live character (the held keys
    // give theirs on their next press or release).
    void sendDirection(const cocos2d::CCPoint& direction);
    // Calls `visit` on every registered character, dead ones too, each held for the walk.
    void forEachCharacter(const std::function<void(KXPControlledCharacter*)>& visit);
    // Moves the live characters by (dx, dy); unless `anyDirection`, a coordinate only moves a
    // character that is not already beyond it in the push's direction.
    void pushCharacters(float dx, float dy, bool anyDirection);
    // Every character's control and body position to the point, then one update with dt 0.
    void placeCharacters(const cocos2d::CCPoint& point);
    // No characters, none awaited any more, centre (0, 0), nothing held.
    void reset();

    // Motor joints turned by actions 9 and 10 at the linker's speed.
    void addMotor(b2RevoluteJoint* joint, const std::shared_ptr<KXBaseModelLinker>& model);
    void clearMotors();
    // Drops the motors whose joints belong to the bodies of these objects.
    void forgetMotorsOfObjects(const std::vector<KXPObject*>& objects);
    // Drops the motor of a joint Box2D is destroying (with either of its bodies, however the
    // body's owner went).
    void forgetJoint(const b2Joint* joint);
    size_t motorCount() const { return m_motors.size(); }

    // The sum of the held direction actions (not normalised: a direction held twice counts twice).
    cocos2d::CCPoint heldDirection() const;
    const std::vector<int>& heldActions() const { return m_heldActions; }

    // The on-screen control buttons: press and release of one action each, without the sender.
    void jumpPressed(cocos2d::CCObject* sender);
    void jumpReleased(cocos2d::CCObject* sender);
    void shootPressed(cocos2d::CCObject* sender);
    void shootReleased(cocos2d::CCObject* sender);
    void rotateLeftPressed(cocos2d::CCObject* sender);
    void rotateLeftReleased(cocos2d::CCObject* sender);
    void rotateRightPressed(cocos2d::CCObject* sender);
    void rotateRightReleased(cocos2d::CCObject* sender);
    void moveRightPressed(cocos2d::CCObject* sender);
    void moveRightReleased(cocos2d::CCObject* sender);
    void moveLeftPressed(cocos2d::CCObject* sender);
    void moveLeftReleased(cocos2d::CCObject* sender);
    void moveUpPressed(cocos2d::CCObject* sender);
    void moveUpReleased(cocos2d::CCObject* sender);
    void moveDownPressed(cocos2d::CCObject* sender);
    void moveDownReleased(cocos2d::CCObject* sender);
    void motorClockwisePressed(cocos2d::CCObject* sender);
    void motorClockwiseReleased(cocos2d::CCObject* sender);
    void motorCounterClockwisePressed(cocos2d::CCObject* sender);
    void motorCounterClockwiseReleased(cocos2d::CCObject* sender);

    // --- Controller and keypad (KXPInputControllerKeys.cpp) ---
    // Controller buttons in the game's numbering: 12 up, 14 down, 13 right, 15 left, 0 jump,
    // 1 shoot; others do nothing.
    void gamepadButtonPressed(int button);
    void gamepadButtonReleased(int button);
    // A stick axis (raw -32768..32767) to every character: axis 1 is x, axis 0 y (down positive);
    // within a quarter of the range it reads 0.
    void gamepadAxisMoved(int value, int axis);
    // The raw value as the characters get it, after the dead zone.
    static float gamepadAxisValue(int value);
    // The engine's keypad: back, key down and key up go to the running screen; key up also turns
    // 4 and 97 into back, 19-22 into highlight moves and 23, 96, 99, 100 into a confirm.
    void keyBackClicked() override;
    void onKeyDown(int key) override;
    void onKeyUp(int key) override;
    // 11 activates the highlighted button of the top screen, 12-15 move its highlight.
    void keyPressed(int controlKey);

    // The process-wide map from a game key code to the buttons bound to it; buttons register
    // themselves while they hold a model with a keyboard key.
    static void registerButton(int key, KXPObjectButton* button);
    static void unregisterButton(int key, KXPObjectButton* button);
    // Presses every shown button bound to `key` whose screen is `screen`; true when there was one.
    // Buttons of other screens, such as the screen below an overlay, are left alone. A release
    // releases only those of them that show pressed, so that it never activates a button that
    // its press did not press.
    static bool pressKeyButtons(int key, KXPScreen* screen);
    static bool releaseKeyButtons(int key, KXPScreen* screen);

private:
    struct Listener {
        cocos2d::CCObject* target;
        cocos2d::SEL_CallFuncO handler;
        int sourceId;
    };
    struct Motor {
        b2RevoluteJoint* joint;
        std::shared_ptr<KXBaseModelLinker> model;
    };

    void notifyListeners(int action, cocos2d::CCObject* sender);
    void switchUnits(int action, bool spawning);
    // Every character that is not dead, with its object held for the walk.
    std::vector<KXPControlledCharacter*> liveCharacters() const;
    void sendDirection();
    void applyMotorSpeeds();
    void removeHeld(int action);
    // Something but an addition in a batch reached the characters: the next addition steers all
    // and the next centre is summed afresh.
    void charactersTouched() {
        m_allSteered = false;
        m_summedCharacters = 0;
        m_heldCentreKnown = false;
    }
    // The term of one character in the centre; false when it does not count.
    static bool centreTerm(KXPControlledCharacter* character, cocos2d::CCPoint& term);
    static std::map<int, std::vector<KXPObjectButton*>>& buttonsByKey();

    // The registered characters in order, without the places of those that left.
    const std::vector<KXPControlledCharacter*>& registered() const;

    // In order of registration; null where one has left since the last walk, so that leaving
    // costs no walk (thousands leaving in one frame).
    mutable std::vector<KXPControlledCharacter*> m_characters;
    mutable size_t m_leftPlaces = 0;
    // Each character's place in m_characters while no one registered twice.
    mutable std::unordered_map<KXPControlledCharacter*, size_t> m_characterPlaces;
    bool m_registeredTwice = false;
    std::vector<int> m_heldActions;
    std::vector<Motor> m_motors;
    // Lists, so that a unit leaves from its places without a walk over the others (thousands of
    // guns go with their ships in one frame).
    std::map<int, std::list<KXPObjectAsset*>> m_unitsByAction;
    std::unordered_map<KXPObjectAsset*, std::vector<std::pair<int, std::list<KXPObjectAsset*>::iterator>>>
        m_unitPlaces;
    std::map<int, std::vector<Listener>> m_listenersByAction;
    bool m_awaitingCharacters = true;
    int m_additionBatches = 0;
    // In a batch: every live character has had the held direction since the batch began.
    bool m_allSteered = false;
    // In a batch only the newest character moves (it is placed by its first update): the sum of
    // the first m_summedCharacters characters' centre terms, in order, holds for the batch.
    size_t m_summedCharacters = 0;
    bool m_centreHeld = false;
    bool m_heldCentreKnown = false;
    cocos2d::CCPoint m_summedPositions;
    int m_summedCount = 0;
    cocos2d::CCPoint m_centre;
    bool m_enabled = true;
    bool m_retired = false;
};
