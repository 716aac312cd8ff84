#include "player/desktop/EventHandler.h"

EventHandler* EventHandler::shared() {
    static EventHandler handler;
    return &handler;
}

bool EventHandler::keyPressed(const OIS::KeyEvent&) {
    return true;
}

bool EventHandler::keyReleased(const OIS::KeyEvent&) {
    return true;
}

bool EventHandler::buttonPressed(const OIS::JoyStickEvent&, int) {
    return true;
}

bool EventHandler::buttonReleased(const OIS::JoyStickEvent&, int) {
    return true;
}

bool EventHandler::axisMoved(const OIS::JoyStickEvent&, int) {
    return true;
}

bool EventHandler::sliderMoved(const OIS::JoyStickEvent&, int) {
    return true;
}

bool EventHandler::povMoved(const OIS::JoyStickEvent&, int) {
    return true;
}

bool EventHandler::vector3Moved(const OIS::JoyStickEvent&, int) {
    return true;
}
