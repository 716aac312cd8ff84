#include "model/classes/KXModelObjectButtonSoundControl.h"

#include "model/KXBaseAttribute.h"

namespace {
constexpr const char* kImage = "Image";
constexpr const char* kImageSelected = "Image Selected";
} // namespace

KXModelObjectButtonSoundControl::KXModelObjectButtonSoundControl(const std::string& name)
    : KXModelObjectButton(name) {
    // Same attributes, stored under the audio button's names.
    if (KXBaseAttribute* image = attribute(kImage)) {
        image->setName(kSoundOn, true);
    }
    if (KXBaseAttribute* selected = attribute(kImageSelected)) {
        selected->setName(kSoundOff, true);
    }
}

KXModelObjectButtonSoundControl::KXModelObjectButtonSoundControl(
    const KXModelObjectButtonSoundControl& source)
    : KXModelObjectButton(source) {
    // The copied attributes carry the audio button's names, which the bases did not find.
    bindImageAttribute(kSoundOn);
    bindImageSelectedAttribute(kSoundOff);
}
