#include "player/desktop/KXPKeyTranslation.h"

namespace {

struct KeyPair {
    OIS::KeyCode key;
    int gameKey;
};

const KeyPair kPairs[] = {
    {OIS::KC_1, '1'},
    {OIS::KC_2, '2'},
    {OIS::KC_3, '3'},
    {OIS::KC_4, '4'},
    {OIS::KC_5, '5'},
    {OIS::KC_6, '6'},
    {OIS::KC_7, '7'},
    {OIS::KC_8, '8'},
    {OIS::KC_9, '9'},
    {OIS::KC_0, '0'},
    {OIS::KC_A, 'A'},
    {OIS::KC_B, 'B'},
    {OIS::KC_C, 'C'},
    {OIS::KC_D, 'D'},
    {OIS::KC_E, 'E'},
    {OIS::KC_F, 'F'},
    {OIS::KC_G, 'G'},
    {OIS::KC_H, 'H'},
    {OIS::KC_I, 'I'},
    {OIS::KC_J, 'J'},
    {OIS::KC_K, 'K'},
    {OIS::KC_L, 'L'},
    {OIS::KC_M, 'M'},
    {OIS::KC_N, 'N'},
    {OIS::KC_O, 'O'},
    {OIS::KC_P, 'P'},
    {OIS::KC_Q, 'Q'},
    {OIS::KC_R, 'R'},
    {OIS::KC_S, 'S'},
    {OIS::KC_T, 'T'},
    {OIS::KC_U, 'U'},
    {OIS::KC_V, 'V'},
    {OIS::KC_W, 'W'},
    {OIS::KC_X, 'X'},
    {OIS::KC_Y, 'Y'},
    {OIS::KC_Z, 'Z'},
    {OIS::KC_GRAVE, '`'},
    {OIS::KC_MINUS, '-'},
    {OIS::KC_EQUALS, '='},
    {OIS::KC_LBRACKET, '['},
    {OIS::KC_RBRACKET, ']'},
    {OIS::KC_BACKSLASH, '\\'},
    {OIS::KC_SEMICOLON, ';'},
    {OIS::KC_APOSTROPHE, '\''},
    {OIS::KC_COMMA, ','},
    {OIS::KC_PERIOD, '.'},
    {OIS::KC_SLASH, '/'},
    {OIS::KC_SPACE, ' '},
    // Number pad: the operators type their characters; its Enter has a code of its own.
    {OIS::KC_DIVIDE, '/'},
    {OIS::KC_MULTIPLY, '*'},
    {OIS::KC_SUBTRACT, '-'},
    {OIS::KC_ADD, '+'},
    {OIS::KC_NUMPADENTER, 0x01000005},
    {OIS::KC_ESCAPE, 0x01000000},
    {OIS::KC_TAB, 0x01000001},
    {OIS::KC_INSERT, 0x01000006},
    {OIS::KC_DELETE, 0x01000007},
    {OIS::KC_HOME, 0x01000010},
    {OIS::KC_END, 0x01000011},
    {OIS::KC_LEFT, 0x01000012},
    {OIS::KC_UP, 0x01000013},
    {OIS::KC_RIGHT, 0x01000014},
    {OIS::KC_DOWN, 0x01000015},
    {OIS::KC_LSHIFT, 0x01000020},
    {OIS::KC_LCONTROL, 0x01000021},
    {OIS::KC_LMENU, 0x01000023},
    {OIS::KC_CAPITAL, 0x01000024},
    {OIS::KC_F1, 0x01000030},
    {OIS::KC_F2, 0x01000031},
    {OIS::KC_F3, 0x01000032},
    {OIS::KC_F4, 0x01000033},
    {OIS::KC_F5, 0x01000034},
    {OIS::KC_F6, 0x01000035},
    {OIS::KC_F7, 0x01000036},
    {OIS::KC_F8, 0x01000037},
    {OIS::KC_F9, 0x01000038},
    {OIS::KC_F10, 0x01000039},
    {OIS::KC_F11, 0x0100003A},
    {OIS::KC_F12, 0x0100003B},
};

} // namespace

const std::map<OIS::KeyCode, int>& keyTranslationTable() {
    static const std::map<OIS::KeyCode, int> table = [] {
        std::map<OIS::KeyCode, int> pairs;
        for (const KeyPair& pair : kPairs) {
            pairs.emplace(pair.key, pair.gameKey);
        }
        return pairs;
    }();
    return table;
}

int gameKeyForOISKey(OIS::KeyCode key) {
    const std::map<OIS::KeyCode, int>& table = keyTranslationTable();
    const auto found = table.find(key);
    return found == table.end() ? 0 : found->second;
}
