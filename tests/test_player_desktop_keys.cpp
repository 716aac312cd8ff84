// The desktop's key and controller numbering: OIS keys to game keys, Linux controller events to
// the game's numbering, and which keys and buttons also make engine keypad codes.
#include <gtest/gtest.h>

#include <OIS.h>

#include <string>
#include <vector>

#include "player/desktop/KXPJoystickTranslation.h"
#include "player/desktop/KXPKeyTranslation.h"
#include "player/desktop/KXPKeypadSource.h"

namespace {

struct ExpectedPair {
    OIS::KeyCode key;
    int gameKey;
};

// Written out from the game's key codes, one row per key.
const ExpectedPair kExpectedPairs[] = {
    {OIS::KC_1, 0x31},
    {OIS::KC_2, 0x32},
    {OIS::KC_3, 0x33},
    {OIS::KC_4, 0x34},
    {OIS::KC_5, 0x35},
    {OIS::KC_6, 0x36},
    {OIS::KC_7, 0x37},
    {OIS::KC_8, 0x38},
    {OIS::KC_9, 0x39},
    {OIS::KC_0, 0x30},
    {OIS::KC_A, 0x41},
    {OIS::KC_B, 0x42},
    {OIS::KC_C, 0x43},
    {OIS::KC_D, 0x44},
    {OIS::KC_E, 0x45},
    {OIS::KC_F, 0x46},
    {OIS::KC_G, 0x47},
    {OIS::KC_H, 0x48},
    {OIS::KC_I, 0x49},
    {OIS::KC_J, 0x4A},
    {OIS::KC_K, 0x4B},
    {OIS::KC_L, 0x4C},
    {OIS::KC_M, 0x4D},
    {OIS::KC_N, 0x4E},
    {OIS::KC_O, 0x4F},
    {OIS::KC_P, 0x50},
    {OIS::KC_Q, 0x51},
    {OIS::KC_R, 0x52},
    {OIS::KC_S, 0x53},
    {OIS::KC_T, 0x54},
    {OIS::KC_U, 0x55},
    {OIS::KC_V, 0x56},
    {OIS::KC_W, 0x57},
    {OIS::KC_X, 0x58},
    {OIS::KC_Y, 0x59},
    {OIS::KC_Z, 0x5A},
    {OIS::KC_GRAVE, 0x60},
    {OIS::KC_MINUS, 0x2D},
    {OIS::KC_EQUALS, 0x3D},
    {OIS::KC_LBRACKET, 0x5B},
    {OIS::KC_RBRACKET, 0x5D},
    {OIS::KC_BACKSLASH, 0x5C},
    {OIS::KC_SEMICOLON, 0x3B},
    {OIS::KC_APOSTROPHE, 0x27},
    {OIS::KC_COMMA, 0x2C},
    {OIS::KC_PERIOD, 0x2E},
    {OIS::KC_SLASH, 0x2F},
    {OIS::KC_SPACE, 0x20},
    {OIS::KC_DIVIDE, 0x2F},
    {OIS::KC_MULTIPLY, 0x2A},
    {OIS::KC_SUBTRACT, 0x2D},
    {OIS::KC_ADD, 0x2B},
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

TEST(DesktopKeyTable, EveryKeyHasItsGameKeyAndNoOtherKeyIsPaired) {
    for (const ExpectedPair& pair : kExpectedPairs) {
        EXPECT_EQ(gameKeyForOISKey(pair.key), pair.gameKey) << "OIS key " << pair.key;
    }
    // Nothing beyond the listed keys: a table with an extra pair would send a key the game
    // does not expect.
    EXPECT_EQ(keyTranslationTable().size(), sizeof kExpectedPairs / sizeof kExpectedPairs[0]);
}

TEST(DesktopKeyTable, KeysWithoutAPairGiveZeroAndTheTableDoesNotGrow) {
    const size_t before = keyTranslationTable().size();
    const OIS::KeyCode unpaired[] = {OIS::KC_RETURN,  OIS::KC_BACK,    OIS::KC_RSHIFT,    OIS::KC_RCONTROL,
                                     OIS::KC_RMENU,   OIS::KC_NUMPAD5, OIS::KC_PGUP,      OIS::KC_PGDOWN,
                                     OIS::KC_DECIMAL, OIS::KC_LWIN,    OIS::KC_UNASSIGNED};
    for (OIS::KeyCode key : unpaired) {
        EXPECT_EQ(gameKeyForOISKey(key), 0) << "OIS key " << key;
    }
    EXPECT_EQ(keyTranslationTable().size(), before);
}

TEST(DesktopJoystickTranslation, TheLeftStickAxesChangePlacesOthersKeepTheirNumbers) {
    const struct {
        int ois;
        int game;
    } axes[] = {{0, 1}, {1, 0}, {2, 2}, {3, 3}, {4, 4}, {5, 5}};
    for (const auto& row : axes) {
        EXPECT_EQ(KXPJoystickTranslation::axis(row.ois), row.game) << "OIS axis " << row.ois;
    }
}

TEST(DesktopJoystickTranslation, RealButtonsStayOffTheDpadNumbers) {
    const struct {
        int ois;
        int game;
    } buttons[] = {{0, 0}, {1, 1}, {7, 7}, {11, 11}, {12, 16}, {13, 17}, {15, 19}, {20, 24}};
    for (const auto& row : buttons) {
        EXPECT_EQ(KXPJoystickTranslation::button(row.ois), row.game) << "OIS button " << row.ois;
    }
}

std::string describe(const std::vector<KXPGamepadEvent>& events) {
    std::string text;
    for (const KXPGamepadEvent& event : events) {
        if (!text.empty()) {
            text += " ";
        }
        text += (event.kind == KXPGamepadEvent::kButtonPressed ? "+" : "-") + std::to_string(event.index);
    }
    return text;
}

TEST(DesktopJoystickTranslation, HatChangesPressAndReleaseTheDpadButtons) {
    // A walk round the hat: each step's releases come before its presses.
    const struct {
        int direction;
        const char* events;
    } steps[] = {
        {OIS::Pov::North, "+12"},     {OIS::Pov::NorthEast, "+13"},    {OIS::Pov::East, "-12"},
        {OIS::Pov::SouthEast, "+14"}, {OIS::Pov::West, "-13 -14 +15"}, {OIS::Pov::SouthWest, "+14"},
        {OIS::Pov::SouthWest, ""},    {OIS::Pov::Centered, "-14 -15"}, {OIS::Pov::Centered, ""},
    };
    KXPJoystickTranslation translation;
    for (const auto& step : steps) {
        EXPECT_EQ(describe(translation.povMoved(0, step.direction)), step.events)
            << "direction " << std::hex << step.direction;
    }
}

TEST(DesktopJoystickTranslation, OnlyTheFirstHatIsTheDpadAndResetForgetsIt) {
    KXPJoystickTranslation translation;
    EXPECT_EQ(describe(translation.povMoved(1, OIS::Pov::North)), "");
    EXPECT_EQ(describe(translation.povMoved(0, OIS::Pov::South)), "+14");
    translation.reset();
    // After a reset the hat counts as centred: the held direction is pressed again, not released.
    EXPECT_EQ(describe(translation.povMoved(0, OIS::Pov::South)), "+14");
}

TEST(DesktopKeypadSource, KeysMakeKeypadCodesAsTheGameFieldAllows) {
    const struct {
        OIS::KeyCode key;
        int outsideRunningField;
        int inRunningField;
    } rows[] = {
        {OIS::KC_ESCAPE, 4, 4}, {OIS::KC_UP, 19, 0},     {OIS::KC_DOWN, 20, 0},        {OIS::KC_LEFT, 21, 0},
        {OIS::KC_RIGHT, 22, 0}, {OIS::KC_RETURN, 23, 0}, {OIS::KC_NUMPADENTER, 23, 0}, {OIS::KC_SPACE, 0, 0},
        {OIS::KC_J, 0, 0},      {OIS::KC_BACK, 0, 0},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(KXPKeypadSource::codeForKey(row.key, false), row.outsideRunningField) << "key " << row.key;
        EXPECT_EQ(KXPKeypadSource::codeForKey(row.key, true), row.inRunningField) << "key " << row.key;
    }
}

TEST(DesktopKeypadSource, ControllerButtonsMakeKeypadCodesOnlyOutsideAGameField) {
    const struct {
        int button;
        int code;
    } rows[] = {{12, 19}, {14, 20}, {15, 21}, {13, 22}, {0, 96}, {1, 97}, {2, 0}, {3, 0}, {16, 0}};
    for (const auto& row : rows) {
        EXPECT_EQ(KXPKeypadSource::codeForButton(row.button, false), row.code) << "button " << row.button;
        EXPECT_EQ(KXPKeypadSource::codeForButton(row.button, true), 0) << "button " << row.button;
    }
}

} // namespace
