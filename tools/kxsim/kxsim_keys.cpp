#include "tools/kxsim/kxsim_keys.h"

#include <cctype>

namespace {

struct NamedKey {
    const char* name;
    OIS::KeyCode code;
};

// Letters and digits are handled apart; names compare without regard to case ("space" and
// "Space" are both xdotool spellings).
const NamedKey kNamedKeys[] = {
    {"Right", OIS::KC_RIGHT},
    {"Left", OIS::KC_LEFT},
    {"Up", OIS::KC_UP},
    {"Down", OIS::KC_DOWN},
    {"space", OIS::KC_SPACE},
    {"Return", OIS::KC_RETURN},
    {"KP_Enter", OIS::KC_NUMPADENTER},
    {"Escape", OIS::KC_ESCAPE},
    {"Tab", OIS::KC_TAB},
    {"BackSpace", OIS::KC_BACK},
    {"Delete", OIS::KC_DELETE},
    {"Insert", OIS::KC_INSERT},
    {"Home", OIS::KC_HOME},
    {"End", OIS::KC_END},
    {"Prior", OIS::KC_PGUP},
    {"Page_Up", OIS::KC_PGUP},
    {"Next", OIS::KC_PGDOWN},
    {"Page_Down", OIS::KC_PGDOWN},
    {"Shift_L", OIS::KC_LSHIFT},
    {"Shift_R", OIS::KC_RSHIFT},
    {"Control_L", OIS::KC_LCONTROL},
    {"Control_R", OIS::KC_RCONTROL},
    {"Alt_L", OIS::KC_LMENU},
    {"Alt_R", OIS::KC_RMENU},
    {"minus", OIS::KC_MINUS},
    {"equal", OIS::KC_EQUALS},
    {"comma", OIS::KC_COMMA},
    {"period", OIS::KC_PERIOD},
    {"slash", OIS::KC_SLASH},
    {"semicolon", OIS::KC_SEMICOLON},
    {"apostrophe", OIS::KC_APOSTROPHE},
    {"bracketleft", OIS::KC_LBRACKET},
    {"bracketright", OIS::KC_RBRACKET},
    {"backslash", OIS::KC_BACKSLASH},
    {"grave", OIS::KC_GRAVE},
    {"F1", OIS::KC_F1},
    {"F2", OIS::KC_F2},
    {"F3", OIS::KC_F3},
    {"F4", OIS::KC_F4},
    {"F5", OIS::KC_F5},
    {"F6", OIS::KC_F6},
    {"F7", OIS::KC_F7},
    {"F8", OIS::KC_F8},
    {"F9", OIS::KC_F9},
    {"F10", OIS::KC_F10},
    {"F11", OIS::KC_F11},
    {"F12", OIS::KC_F12},
};

const OIS::KeyCode kLetters[26] = {
    OIS::KC_A, OIS::KC_B, OIS::KC_C, OIS::KC_D, OIS::KC_E, OIS::KC_F, OIS::KC_G, OIS::KC_H, OIS::KC_I,
    OIS::KC_J, OIS::KC_K, OIS::KC_L, OIS::KC_M, OIS::KC_N, OIS::KC_O, OIS::KC_P, OIS::KC_Q, OIS::KC_R,
    OIS::KC_S, OIS::KC_T, OIS::KC_U, OIS::KC_V, OIS::KC_W, OIS::KC_X, OIS::KC_Y, OIS::KC_Z,
};

const OIS::KeyCode kDigits[10] = {OIS::KC_0, OIS::KC_1, OIS::KC_2, OIS::KC_3, OIS::KC_4,
                                  OIS::KC_5, OIS::KC_6, OIS::KC_7, OIS::KC_8, OIS::KC_9};

bool sameName(const std::string& a, const char* b) {
    size_t index = 0;
    for (; index < a.size() && b[index] != '\0'; ++index) {
        if (std::tolower(static_cast<unsigned char>(a[index])) !=
            std::tolower(static_cast<unsigned char>(b[index]))) {
            return false;
        }
    }
    return index == a.size() && b[index] == '\0';
}

} // namespace

bool oisKeyForName(const std::string& name, OIS::KeyCode* code) {
    if (name.size() == 1) {
        const unsigned char character = static_cast<unsigned char>(name[0]);
        if (std::isalpha(character)) {
            *code = kLetters[std::tolower(character) - 'a'];
            return true;
        }
        if (std::isdigit(character)) {
            *code = kDigits[character - '0'];
            return true;
        }
    }
    for (const NamedKey& key : kNamedKeys) {
        if (sameName(name, key.name)) {
            *code = key.code;
            return true;
        }
    }
    return false;
}

unsigned int keyText(const std::string& name) {
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
        return static_cast<unsigned char>(name[0]);
    }
    if (sameName(name, "space")) {
        return ' ';
    }
    if (sameName(name, "Return")) {
        return '\r';
    }
    return 0;
}
