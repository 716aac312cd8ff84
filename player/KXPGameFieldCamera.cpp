#include "player/KXPGameFieldCamera.h"

KXPGameFieldCamera* KXPGameFieldCamera::create() {
    KXPGameFieldCamera* camera = new KXPGameFieldCamera();
    if (!camera->init()) {
        delete camera;
        return nullptr;
    }
    camera->autorelease();
    return camera;
}
