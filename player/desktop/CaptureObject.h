#pragma once

// Polls the input devices once per frame, before the screens update; OIS delivers the buffered
// key and controller events to their listener from inside this poll.

#include "cocos2d.h"

class KXPInputDevices;

class CaptureObject : public cocos2d::CCObject {
public:
    explicit CaptureObject(KXPInputDevices* devices) : m_devices(devices) {}

    void update(float dt) override;

private:
    KXPInputDevices* m_devices;
};
