#pragma once

#include "model/classes/KXModelObjectButton.h"

#include <memory>
#include <string>

// The mute switch: its image and selected image are stored as "Sound is ON" and "Sound is OFF".
class KXModelObjectButtonSoundControl : public KXModelObjectButton {
    KX_MODEL_IDENTITY(KXModelObjectButtonSoundControl, KXModelObjectButton)

public:
    static constexpr const char* kDefaultObjectName = "Audio Button";
    static constexpr const char* kSoundOn = "Sound is ON";
    static constexpr const char* kSoundOff = "Sound is OFF";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelObjectButtonSoundControl& source);

    explicit KXModelObjectButtonSoundControl(const std::string& name);
    KXModelObjectButtonSoundControl(const KXModelObjectButtonSoundControl& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;
};
