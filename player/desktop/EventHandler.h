#pragma once

// The one listener of the OIS keyboard and game controller. Turning keys and controller input
// into button presses and game actions comes with the input handling; until then events are
// taken and dropped.

#include <OIS.h>

class EventHandler : public OIS::KeyListener, public OIS::JoyStickListener {
public:
    // The process-wide instance.
    static EventHandler* shared();

    bool keyPressed(const OIS::KeyEvent& event) override;
    bool keyReleased(const OIS::KeyEvent& event) override;
    bool buttonPressed(const OIS::JoyStickEvent& event, int button) override;
    bool buttonReleased(const OIS::JoyStickEvent& event, int button) override;
    bool axisMoved(const OIS::JoyStickEvent& event, int axis) override;
    bool sliderMoved(const OIS::JoyStickEvent& event, int index) override;
    bool povMoved(const OIS::JoyStickEvent& event, int index) override;
    bool vector3Moved(const OIS::JoyStickEvent& event, int index) override;
};
