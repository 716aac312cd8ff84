#include "model/classes/KXModelObjectButtonControl.h"

KXModelObjectButtonControl::KXModelObjectButtonControl(const std::string& name) : KXModelObjectButton(name) {}

KXModelObjectButtonControl::KXModelObjectButtonControl(const KXModelObjectButtonControl& source)
    : KXModelObjectButton(source) {}
