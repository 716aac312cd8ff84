#pragma once

// The engine's keypad codes on the desktop. OIS holds the keyboard, so the engine's window sees
// no keys of its own: the desktop input handler decides here which keys and controller buttons
// also become keypad codes, and sends them through the director's keypad dispatcher.
//
// Policy: each physical press gives exactly one logical action.
// - Escape is back: key-down 4 on press, key-up 4 on release, never also a back click (the input
//   controller already turns key-up 4 into one back).
// - The arrows, Return and the number pad's Enter become 19-22 and 23 (centre) only while no
//   running (unpaused, not over) game field is current: they move the highlight on menus and
//   pause screens. In a running game they act only through the game's action keys.
// - While no game field is current, the controller's D-pad and its A and B buttons become 19-22,
//   96 and 97, so menus work from a controller. In a game field they are game input.
// - A key that presses a button bound to it makes no keypad code; a key that makes a keypad code
//   presses no game action. Its release sends the key-up of the code its press sent.

#include <OIS.h>

class KXPKeypadSource {
public:
    static constexpr int kBack = 4;
    static constexpr int kUp = 19;
    static constexpr int kDown = 20;
    static constexpr int kLeft = 21;
    static constexpr int kRight = 22;
    static constexpr int kCentre = 23;
    static constexpr int kButtonA = 96;
    static constexpr int kButtonB = 97;

    // The keypad code a key press makes now, or 0.
    static int codeForKey(OIS::KeyCode key, bool gameFieldRunning);
    // The keypad code a controller button (game numbering) makes now, or 0.
    static int codeForButton(int button, bool gameFieldCurrent);

    static void keyDown(int code);
    static void keyUp(int code);
};
