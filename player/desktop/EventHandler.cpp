#include "player/desktop/EventHandler.h"

#include "model/KXDebugLog.h"
#include "model/classes/KXModelGeneralSettings.h"
#include "player/app/KXPScreensController.h"
#include "player/base/KXPGameField.h"
#include "player/desktop/KXPKeyTranslation.h"
#include "player/desktop/KXPKeypadSource.h"
#include "player/input/KXPInputController.h"
#include "player/screens/KXPScreen.h"

#include <string>

namespace {

EventHandler::FieldState screensFieldState() {
    EventHandler::FieldState state;
    KXPGameField* field = KXPScreensController::shared()->currentScreenScene();
    state.current = field != nullptr;
    state.running = field != nullptr && !field->isPaused() && !field->isGameOver();
    return state;
}

// The keyboard's name for the key; scripted events come without a keyboard.
std::string keyName(const OIS::KeyEvent& event) {
    auto* keyboard = dynamic_cast<OIS::Keyboard*>(const_cast<OIS::Object*>(event.device));
    return keyboard != nullptr ? keyboard->getAsString(event.key) : std::string();
}

// The text character for the log; control characters (Return types '\r') print as a blank.
char printableText(unsigned int text) {
    const unsigned char low = static_cast<unsigned char>(text & 0xFF);
    return (low < 0x20 || low == 0x7F) ? ' ' : static_cast<char>(low);
}

} // namespace

EventHandler* EventHandler::shared() {
    static EventHandler handler;
    return &handler;
}

EventHandler::EventHandler(FieldStateSource fieldState) : m_fieldState(std::move(fieldState)) {
    if (!m_fieldState) {
        m_fieldState = screensFieldState;
    }
}

void EventHandler::reset() {
    m_keysDown.clear();
    m_buttonsDown.clear();
    m_joystick.reset();
}

int EventHandler::actionForGameKey(int gameKey) {
    const std::shared_ptr<KXModelGeneralSettings> settings = KXModelGeneralSettings::shared();
    const struct {
        int key;
        int action;
    } bindings[] = {
        {settings->moveUpKey(), KXPInputController::kActionUp},
        {settings->moveDownKey(), KXPInputController::kActionDown},
        {settings->moveLeftKey(), KXPInputController::kActionLeft},
        {settings->moveRightKey(), KXPInputController::kActionRight},
        {settings->motorCWKey(), KXPInputController::kActionMotorClockwise},
        {settings->motorCCWKey(), KXPInputController::kActionMotorCounterClockwise},
        {settings->rotateLeftKey(), KXPInputController::kActionRotateLeft},
        {settings->rotateRightKey(), KXPInputController::kActionRotateRight},
        {settings->shootKey(), KXPInputController::kActionShoot},
        {settings->jumpKey(), KXPInputController::kActionJump},
    };
    for (const auto& binding : bindings) {
        if (binding.key == gameKey) {
            return binding.action;
        }
    }
    return 0;
}

bool EventHandler::keyPressed(const OIS::KeyEvent& event) {
    const int key = static_cast<int>(event.key);
    if (m_keysDown.count(key) != 0) {
        return true;
    }
    debugLog(" KeyPressed {%d, %s} Character (%c)", key, keyName(event).c_str(), printableText(event.text));
    KXPInputController* controller = KXPInputController::shared();
    const int gameKey = gameKeyForOISKey(event.key);
    Press press{Route::kNothing, 0};
    // A key without a pair is no game key: it presses no button and matches no action. Without a
    // screen no button is pressed (a button outside every screen would match a null screen).
    KXPScreen* screen = KXPScreen::topScreen();
    if (gameKey != 0 && screen != nullptr && KXPInputController::pressKeyButtons(gameKey, screen)) {
        press = Press{Route::kKeyButtons, gameKey};
    } else if (const int code = KXPKeypadSource::codeForKey(event.key, m_fieldState().running)) {
        press = Press{Route::kKeypad, code};
    } else if (gameKey != 0) {
        if (const int action = actionForGameKey(gameKey)) {
            press = Press{Route::kAction, action};
        }
    }
    m_keysDown[key] = press;
    if (press.route == Route::kKeypad) {
        KXPKeypadSource::keyDown(press.code);
    } else if (press.route == Route::kAction) {
        controller->actionPressed(press.code, nullptr);
    }
    return true;
}

bool EventHandler::keyReleased(const OIS::KeyEvent& event) {
    debugLog("KeyReleased {%s}", keyName(event).c_str());
    const auto found = m_keysDown.find(static_cast<int>(event.key));
    // A key that went down before the keyboard was ours has no press to undo.
    if (found == m_keysDown.end()) {
        return true;
    }
    const Press press = found->second;
    m_keysDown.erase(found);
    switch (press.route) {
    case Route::kKeyButtons:
        if (KXPScreen* screen = KXPScreen::topScreen()) {
            KXPInputController::releaseKeyButtons(press.code, screen);
        }
        break;
    case Route::kKeypad:
        KXPKeypadSource::keyUp(press.code);
        break;
    case Route::kAction:
        KXPInputController::shared()->actionReleased(press.code, nullptr);
        break;
    default:
        break;
    }
    return true;
}

bool EventHandler::buttonPressed(const OIS::JoyStickEvent&, int button) {
    pressControllerButton(KXPJoystickTranslation::button(button));
    return true;
}

bool EventHandler::buttonReleased(const OIS::JoyStickEvent&, int button) {
    releaseControllerButton(KXPJoystickTranslation::button(button));
    return true;
}

void EventHandler::pressControllerButton(int button) {
    if (m_buttonsDown.count(button) != 0) {
        return;
    }
    debugLog("Button Pressed : %d", button);
    Press press{Route::kNothing, button};
    if (m_fieldState().current) {
        press.route = Route::kGamepad;
    } else if (const int code = KXPKeypadSource::codeForButton(button, false)) {
        // Outside a game field the game drops controller events; menus take these as keypad codes.
        press = Press{Route::kKeypad, code};
    }
    m_buttonsDown[button] = press;
    if (press.route == Route::kGamepad) {
        KXPInputController::shared()->gamepadButtonPressed(button);
    } else if (press.route == Route::kKeypad) {
        KXPInputController::shared(); // the keypad side listens from its first use
        KXPKeypadSource::keyDown(press.code);
    }
}

void EventHandler::releaseControllerButton(int button) {
    debugLog("Button Released : %d", button);
    const auto found = m_buttonsDown.find(button);
    if (found == m_buttonsDown.end()) {
        return;
    }
    const Press press = found->second;
    m_buttonsDown.erase(found);
    if (press.route == Route::kGamepad) {
        KXPInputController::shared()->gamepadButtonReleased(button);
    } else if (press.route == Route::kKeypad) {
        KXPKeypadSource::keyUp(press.code);
    }
}

bool EventHandler::axisMoved(const OIS::JoyStickEvent& event, int axis) {
    if (axis < 0 || static_cast<size_t>(axis) >= event.state.mAxes.size()) {
        return true;
    }
    const int value = event.state.mAxes[static_cast<size_t>(axis)].abs;
    const int gameAxis = KXPJoystickTranslation::axis(axis);
    debugLog("Axis Moved : %d - %d", value, gameAxis);
    if (m_fieldState().current) {
        KXPInputController::shared()->gamepadAxisMoved(value, gameAxis);
    }
    return true;
}

bool EventHandler::sliderMoved(const OIS::JoyStickEvent&, int) {
    return true;
}

bool EventHandler::povMoved(const OIS::JoyStickEvent& event, int index) {
    if (index < 0 || index >= 4) {
        return true;
    }
    for (const KXPGamepadEvent& change : m_joystick.povMoved(index, event.state.mPOV[index].direction)) {
        if (change.kind == KXPGamepadEvent::kButtonPressed) {
            pressControllerButton(change.index);
        } else {
            releaseControllerButton(change.index);
        }
    }
    return true;
}

bool EventHandler::vector3Moved(const OIS::JoyStickEvent&, int) {
    return true;
}
