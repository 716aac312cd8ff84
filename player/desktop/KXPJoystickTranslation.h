#pragma once

// The game numbers a controller as DirectInput does: axis 1 is the left stick's x, axis 0 its y
// (down positive), buttons 12 to 15 the D-pad, 0 and 1 the lower face buttons. OIS on Linux
// (evdev) reports the left stick as axes 0 (x) and 1 (y, down positive) and the D-pad as a hat
// (POV), so the events are renumbered here before the game sees them.

#include <vector>

struct KXPGamepadEvent {
    enum Kind { kButtonPressed, kButtonReleased, kAxisMoved };
    Kind kind;
    int index;     // the game's button or axis number
    int value = 0; // axes: the absolute value
};

class KXPJoystickTranslation {
public:
    // The D-pad as the game numbers it.
    static constexpr int kDpadUp = 12;
    static constexpr int kDpadRight = 13;
    static constexpr int kDpadDown = 14;
    static constexpr int kDpadLeft = 15;
    // The first button number after the D-pad's.
    static constexpr int kFirstButtonAfterDpad = 16;

    // A real button keeps its number, except those that would take a D-pad number: they move past
    // the D-pad (a thumb-stick click must not act as a direction).
    static int button(int oisButton);
    // Left stick x and y change places; other axes keep their numbers.
    static int axis(int oisAxis);

    // The D-pad's buttons that a change of hat `index` releases and presses, releases first. Only
    // the first hat is the D-pad; a diagonal holds two directions.
    std::vector<KXPGamepadEvent> povMoved(int index, int direction);
    // Forgets the hat's position (nothing is held).
    void reset() { m_hatDirection = 0; }

private:
    int m_hatDirection = 0;
};
