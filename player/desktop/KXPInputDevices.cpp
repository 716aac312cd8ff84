#include "player/desktop/KXPInputDevices.h"

#include "model/KXDebugLog.h"

#include <clocale>
#include <exception>
#include <string>

KXPInputDevices::KXPInputDevices(SystemFactory factory) : m_factory(std::move(factory)) {
    if (!m_factory) {
        m_factory = [](OIS::ParamList& params) { return OIS::InputManager::createInputSystem(params); };
    }
}

KXPInputDevices::~KXPInputDevices() {
    destroy();
}

bool KXPInputDevices::create(uintptr_t windowId, OIS::KeyListener* keyListener,
                             OIS::JoyStickListener* joyListener) {
    destroy();
    if (windowId == 0) {
        debugLog("[KXPInputDevices] no X11 window: running without keyboard and controller");
        return false;
    }
    try {
        OIS::ParamList params;
        params.insert(std::make_pair(std::string("WINDOW"), std::to_string(windowId)));
        m_manager = m_factory(params);
        OIS::Object* keyboard = m_manager->createInputObject(OIS::OISKeyboard, true, "");
        // The keyboard sets the process locale from the environment; numbers must keep printing
        // with a point.
        std::setlocale(LC_NUMERIC, "C");
        m_keyboard = static_cast<OIS::Keyboard*>(keyboard);
        m_keyboard->setEventCallback(keyListener);
        // Only a controller attached now is used.
        if (m_manager->getNumberOfDevices(OIS::OISJoyStick) != 0) {
            m_joystick =
                static_cast<OIS::JoyStick*>(m_manager->createInputObject(OIS::OISJoyStick, true, ""));
            m_joystick->setEventCallback(joyListener);
        }
    } catch (const OIS::Exception& error) {
        std::setlocale(LC_NUMERIC, "C");
        debugLog("[KXPInputDevices] no keyboard input: %s", error.eText ? error.eText : "OIS error");
        destroy();
        return false;
    } catch (const std::exception& error) {
        std::setlocale(LC_NUMERIC, "C");
        debugLog("[KXPInputDevices] no keyboard input: %s", error.what());
        destroy();
        return false;
    }
    return true;
}

void KXPInputDevices::capture() {
    if (m_keyboard != nullptr) {
        m_keyboard->capture();
    }
    if (m_joystick != nullptr) {
        m_joystick->capture();
    }
}

void KXPInputDevices::destroy() {
    if (m_manager == nullptr) {
        return;
    }
    if (m_joystick != nullptr) {
        m_manager->destroyInputObject(m_joystick);
        m_joystick = nullptr;
    }
    if (m_keyboard != nullptr) {
        m_manager->destroyInputObject(m_keyboard);
        m_keyboard = nullptr;
    }
    OIS::InputManager::destroyInputSystem(m_manager);
    m_manager = nullptr;
}
