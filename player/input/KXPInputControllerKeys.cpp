// The input controller's controller (gamepad) and engine keypad side.
#include "player/input/KXPInputController.h"

#include "model/KXDebugLog.h"
#include "player/input/KXPControlledCharacter.h"
#include "player/objects/KXPObject.h"
#include "player/screens/KXPScreen.h"

#include <cmath>

using namespace cocos2d;

namespace {

constexpr float kAxisScale = 1.0f / 32768.0f;
constexpr float kDeadZone = 0.25f;

// Controller buttons in the game's numbering and the actions they hold.
int actionOfGamepadButton(int button) {
    switch (button) {
    case 12:
        return KXPInputController::kActionUp;
    case 14:
        return KXPInputController::kActionDown;
    case 13:
        return KXPInputController::kActionRight;
    case 15:
        return KXPInputController::kActionLeft;
    case 1:
        return KXPInputController::kActionShoot;
    case 0:
        return KXPInputController::kActionJump;
    default:
        return 0;
    }
}

// Keeps a screen alive while a forwarded key runs on it (a back may replace it).
class HeldScreen {
public:
    explicit HeldScreen(KXPScreen* screen) : m_screen(screen) {
        if (m_screen != nullptr) {
            m_screen->retain();
        }
    }
    ~HeldScreen() {
        if (m_screen != nullptr) {
            m_screen->release();
        }
    }
    HeldScreen(const HeldScreen&) = delete;
    HeldScreen& operator=(const HeldScreen&) = delete;
    KXPScreen* get() const { return m_screen; }

private:
    KXPScreen* m_screen;
};

} // namespace

void KXPInputController::gamepadButtonPressed(int button) {
    debugLog("Gamepad press button: %i", button);
    if (const int action = actionOfGamepadButton(button)) {
        actionPressed(action, nullptr);
    }
}

void KXPInputController::gamepadButtonReleased(int button) {
    debugLog("Gamepad release button: %i", button);
    if (const int action = actionOfGamepadButton(button)) {
        actionReleased(action, nullptr);
    }
}

float KXPInputController::gamepadAxisValue(int value) {
    const float scaled = static_cast<float>(value) * kAxisScale;
    return std::fabs(scaled) < kDeadZone ? 0.0f : scaled;
}

void KXPInputController::gamepadAxisMoved(int value, int axis) {
    const float valueF = gamepadAxisValue(value);
    debugLog("Gamepad axis: %i   value: %i   valueF: %f", axis, value, valueF);
    if (axis != 0 && axis != 1) {
        return;
    }
    charactersTouched();
    // Every registered character, whatever its state; each one's object is held for the walk.
    const std::vector<KXPControlledCharacter*> characters = registered();
    for (KXPControlledCharacter* character : characters) {
        character->characterObject()->retain();
    }
    for (KXPControlledCharacter* character : characters) {
        if (axis == 1) {
            character->setAxisX(valueF);
        } else {
            character->setAxisY(-valueF);
        }
    }
    for (KXPControlledCharacter* character : characters) {
        character->characterObject()->release();
    }
}

void KXPInputController::keyBackClicked() {
    debugLog("key Back CLCIKED");
    if (!m_enabled) {
        return;
    }
    HeldScreen screen(KXPScreen::runningScreen());
    if (screen.get() != nullptr) {
        screen.get()->keyBackClicked();
    }
}

void KXPInputController::onKeyDown(int key) {
    debugLog("[KXPInputController] key Down clicked");
    if (!m_enabled) {
        return;
    }
    HeldScreen screen(KXPScreen::runningScreen());
    if (screen.get() != nullptr) {
        screen.get()->onKeyDown(key);
    }
}

void KXPInputController::onKeyUp(int key) {
    debugLog("[KXPInputController] key UP clicked");
    if (!m_enabled) {
        return;
    }
    {
        HeldScreen screen(KXPScreen::runningScreen());
        if (screen.get() != nullptr) {
            screen.get()->onKeyUp(key);
        }
    }
    switch (key) {
    case 4:
    case 97:
        keyBackClicked();
        break;
    case 19:
        keyPressed(12);
        break;
    case 20:
        keyPressed(13);
        break;
    case 21:
        keyPressed(14);
        break;
    case 22:
        keyPressed(15);
        break;
    case 23:
    case 96:
    case 99:
    case 100:
        keyPressed(11);
        break;
    default:
        break;
    }
}

void KXPInputController::keyPressed(int controlKey) {
    debugLog("[KXPInputController] - keyPressed: %d", controlKey);
    if (!m_enabled) {
        return;
    }
    // Navigation goes to the innermost screen: an overlay, or the game field's UI layer.
    HeldScreen screen(KXPScreen::topScreen());
    if (screen.get() == nullptr) {
        return;
    }
    if (controlKey == 11) {
        screen.get()->pressHilightButton();
    } else if (controlKey >= 12 && controlKey <= 15) {
        screen.get()->hilightButton(controlKey);
    }
}
