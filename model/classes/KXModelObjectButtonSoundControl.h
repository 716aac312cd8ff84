#pragma once

#include "model/classes/KXModelObjectButton.h"

#include <memory>
#include <string>

// The mute switch: its image and selected image are stored as "Sound is ON" and "Sound is OFF".
class KXModelObjectButtonSoundControl : public KXModelObjectButton {
    KX_MODEL_IDENTITY(KXModelObjectButtonSoundControl, KXModelObjectButton)
    KX_MODEL_CREATE(KXModelObjectButtonSoundControl)
    KX_MODEL_CLONE(KXModelObjectButtonSoundControl)

public:
    static constexpr const char* kDefaultObjectName = "Audio Button";
    static constexpr const char* kSoundOn = "Sound is ON";
    static constexpr const char* kSoundOff = "Sound is OFF";

    explicit KXModelObjectButtonSoundControl(const std::string& name);
    KXModelObjectButtonSoundControl(const KXModelObjectButtonSoundControl& source);
};
