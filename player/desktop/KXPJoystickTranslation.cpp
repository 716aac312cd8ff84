#include "player/desktop/KXPJoystickTranslation.h"

#include <OIS.h>

namespace {

struct HatDirection {
    int bit;
    int button;
};

const HatDirection kHatDirections[] = {
    {OIS::Pov::North, KXPJoystickTranslation::kDpadUp},
    {OIS::Pov::East, KXPJoystickTranslation::kDpadRight},
    {OIS::Pov::South, KXPJoystickTranslation::kDpadDown},
    {OIS::Pov::West, KXPJoystickTranslation::kDpadLeft},
};

} // namespace

int KXPJoystickTranslation::button(int oisButton) {
    if (oisButton >= kDpadUp) {
        return oisButton + (kFirstButtonAfterDpad - kDpadUp);
    }
    return oisButton;
}

int KXPJoystickTranslation::axis(int oisAxis) {
    if (oisAxis == 0) {
        return 1;
    }
    if (oisAxis == 1) {
        return 0;
    }
    return oisAxis;
}

std::vector<KXPGamepadEvent> KXPJoystickTranslation::povMoved(int index, int direction) {
    std::vector<KXPGamepadEvent> events;
    if (index != 0) {
        return events;
    }
    const int before = m_hatDirection;
    m_hatDirection = direction;
    for (const HatDirection& hat : kHatDirections) {
        if ((before & hat.bit) != 0 && (direction & hat.bit) == 0) {
            events.push_back(KXPGamepadEvent{KXPGamepadEvent::kButtonReleased, hat.button});
        }
    }
    for (const HatDirection& hat : kHatDirections) {
        if ((before & hat.bit) == 0 && (direction & hat.bit) != 0) {
            events.push_back(KXPGamepadEvent{KXPGamepadEvent::kButtonPressed, hat.button});
        }
    }
    return events;
}
