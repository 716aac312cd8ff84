#pragma once

// The raw input devices through OIS: one buffered keyboard and, when one is attached at start,
// one buffered game controller, on the game window's X11 id. OIS grabs the keyboard (SDL then
// sees no keys) and switches X key auto-repeat off while it lives, so it is destroyed at exit.

#include <OIS.h>

#include <cstdint>
#include <functional>

class KXPInputDevices {
public:
    // Makes the OIS input system from its parameter list; the real one by default (tests pass
    // their own).
    using SystemFactory = std::function<OIS::InputManager*(OIS::ParamList&)>;

    explicit KXPInputDevices(SystemFactory factory = SystemFactory());
    ~KXPInputDevices();
    KXPInputDevices(const KXPInputDevices&) = delete;
    KXPInputDevices& operator=(const KXPInputDevices&) = delete;

    // Creates the devices with `listener` as their listener. Without an X11 window, or when OIS
    // fails, logs one line and returns false: the game then runs without keyboard.
    template <class Listener> bool create(uintptr_t windowId, Listener* listener) {
        return create(windowId, static_cast<OIS::KeyListener*>(listener),
                      static_cast<OIS::JoyStickListener*>(listener));
    }
    bool create(uintptr_t windowId, OIS::KeyListener* keyListener, OIS::JoyStickListener* joyListener);
    // Delivers the buffered events of each device to its listener; once per frame.
    void capture();
    // Releases the devices and the input system (X key auto-repeat comes back on).
    void destroy();

    OIS::Keyboard* keyboard() const { return m_keyboard; }
    OIS::JoyStick* joystick() const { return m_joystick; }

private:
    SystemFactory m_factory;
    OIS::InputManager* m_manager = nullptr;
    OIS::Keyboard* m_keyboard = nullptr;
    OIS::JoyStick* m_joystick = nullptr;
};
