#pragma once

// The one listener of the OIS keyboard and game controller. A key press goes to the buttons bound
// to that key on the innermost screen, else to the game action bound to it; arrows, Return and
// Escape may also make engine keypad codes (KXPKeypadSource says when). Controller events are
// renumbered from Linux to the game's numbering and go to the input controller while a game
// field is current; outside one, the D-pad and A/B make keypad codes instead.
//
// One logical action per physical press: a press of a key or button already down (X11 repeats
// held keys) is ignored, and a release undoes what its press did (the same buttons' key, the
// same keypad code, the same action), whatever changed in between.

#include <OIS.h>

#include <functional>
#include <map>

#include "player/desktop/KXPJoystickTranslation.h"

class EventHandler : public OIS::KeyListener, public OIS::JoyStickListener {
public:
    // Whether a game field is current, and whether it runs (neither paused nor over).
    struct FieldState {
        bool current = false;
        bool running = false;
    };
    using FieldStateSource = std::function<FieldState()>;

    // The process-wide instance; it reads the field's state from the screens controller.
    static EventHandler* shared();

    // A handler with its own source of the field's state (tests); empty: the screens controller.
    explicit EventHandler(FieldStateSource fieldState = FieldStateSource());

    bool keyPressed(const OIS::KeyEvent& event) override;
    bool keyReleased(const OIS::KeyEvent& event) override;
    bool buttonPressed(const OIS::JoyStickEvent& event, int button) override;
    bool buttonReleased(const OIS::JoyStickEvent& event, int button) override;
    bool axisMoved(const OIS::JoyStickEvent& event, int axis) override;
    bool sliderMoved(const OIS::JoyStickEvent& event, int index) override;
    // The Linux D-pad: hat changes press and release buttons 12 to 15.
    bool povMoved(const OIS::JoyStickEvent& event, int index) override;
    bool vector3Moved(const OIS::JoyStickEvent& event, int index) override;

    // Forgets the keys and buttons that are down, releasing nothing.
    void reset();

    // The action bound to a game key in the general settings (the first of the ten that matches),
    // or 0.
    static int actionForGameKey(int gameKey);

private:
    enum class Route { kNothing, kKeyButtons, kKeypad, kAction, kGamepad };
    struct Press {
        Route route;
        int code; // the game key, keypad code, action or controller button
    };

    void pressControllerButton(int button);
    void releaseControllerButton(int button);

    FieldStateSource m_fieldState;
    std::map<int, Press> m_keysDown;    // by OIS key code
    std::map<int, Press> m_buttonsDown; // by controller button, game numbering
    KXPJoystickTranslation m_joystick;
};
