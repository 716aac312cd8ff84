#pragma once

// OIS key codes to game-key codes: the codes a game stores in its key attributes (the general
// settings' action keys, a button's "Keyboard Key"). A printable key is the code of its unshifted
// character, letters upper case; other keys count from 0x01000000.

#include <OIS.h>

#include <map>

// The fixed pairs, made once. Keys without a pair (main Enter, Backspace, the right-hand
// modifiers, the number-pad digits, Page Up/Down, ...) are not in it.
const std::map<OIS::KeyCode, int>& keyTranslationTable();

// The game key of an OIS key, or 0 when it has no pair. The lookup never adds to the table.
int gameKeyForOISKey(OIS::KeyCode key);
