#include "player/desktop/CaptureObject.h"

#include "player/desktop/KXPInputDevices.h"

void CaptureObject::update(float dt) {
    (void)dt;
    if (m_devices != nullptr) {
        m_devices->capture();
    }
}
