#include "player/desktop/KXPKeypadSource.h"

#include "cocos2d.h"
#include "player/desktop/KXPJoystickTranslation.h"

using namespace cocos2d;

int KXPKeypadSource::codeForKey(OIS::KeyCode key, bool gameFieldRunning) {
    if (key == OIS::KC_ESCAPE) {
        return kBack;
    }
    if (gameFieldRunning) {
        return 0;
    }
    switch (key) {
    case OIS::KC_UP:
        return kUp;
    case OIS::KC_DOWN:
        return kDown;
    case OIS::KC_LEFT:
        return kLeft;
    case OIS::KC_RIGHT:
        return kRight;
    case OIS::KC_RETURN:
    case OIS::KC_NUMPADENTER:
        return kCentre;
    default:
        return 0;
    }
}

int KXPKeypadSource::codeForButton(int button, bool gameFieldCurrent) {
    if (gameFieldCurrent) {
        return 0;
    }
    switch (button) {
    case KXPJoystickTranslation::kDpadUp:
        return kUp;
    case KXPJoystickTranslation::kDpadDown:
        return kDown;
    case KXPJoystickTranslation::kDpadLeft:
        return kLeft;
    case KXPJoystickTranslation::kDpadRight:
        return kRight;
    case 0:
        return kButtonA;
    case 1:
        return kButtonB;
    default:
        return 0;
    }
}

void KXPKeypadSource::keyDown(int code) {
    CCDirector::sharedDirector()->getKeypadDispatcher()->dispatchKeyDown(code);
}

void KXPKeypadSource::keyUp(int code) {
    CCDirector::sharedDirector()->getKeypadDispatcher()->dispatchKeyUp(code);
}
